"""The demo product server's folder tree, and a demo installation of Orvane
to upgrade: everything the program fetches, in the server's layout."""

import io
import shutil
import zipfile
from pathlib import Path

from code_signing import sign

DEMO_CUSTOMER = "DEMO01"
PACKAGE_TIME = (2026, 1, 1, 0, 0, 0)  # fixed, so the packages are the same bytes every time


def package_bytes(name, files):
    """A small archive; the program treats packages as opaque bytes."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for file_name, text in files.items():
            archive.writestr(zipfile.ZipInfo(file_name, PACKAGE_TIME), text)
    return buffer.getvalue()


def build_server_tree(destination, stand_ins, customer=DEMO_CUSTOMER, sign_as=None):
    """/install/install.exe, /Tarvik/Tarvik.exe, /Tarvik/Orvane_sys.rar and
    /Tarvik/<customer>/Orvane.rar under destination; the two programs signed by
    the test publisher sign_as ("publisher" or "other"), or as built when None."""
    root = Path(destination)
    (root / "install").mkdir(parents=True, exist_ok=True)
    (root / "Tarvik" / customer).mkdir(parents=True, exist_ok=True)
    place = shutil.copy2 if sign_as is None else lambda exe, out: sign(exe, out, sign_as)
    place(Path(stand_ins) / "install.exe", root / "install" / "install.exe")
    place(Path(stand_ins) / "Tarvik.exe", root / "Tarvik" / "Tarvik.exe")
    (root / "Tarvik" / "Orvane_sys.rar").write_bytes(package_bytes(
        "Orvane_sys", {"system/version.txt": "Orvane 12.0 system package\n"}))
    (root / "Tarvik" / customer / "Orvane.rar").write_bytes(package_bytes(
        "Orvane", {"upgrade/customer.txt": f"Upgrade package for {customer}\n"}))
    return root


def build_installation(folder, customer=DEMO_CUSTOMER):
    """A folder that holds an installation: Orvane.dll and Report\\Info.xml
    naming the customer."""
    folder = Path(folder)
    (folder / "Report").mkdir(parents=True, exist_ok=True)
    (folder / "Orvane.dll").write_bytes(b"MZ demo library\n")
    (folder / "Report" / "Info.xml").write_text(
        f'<?xml version="1.0" encoding="utf-8"?>\n<Info>\n  <Customer>{customer}</Customer>\n'
        "</Info>\n", encoding="utf-8")
    return folder
