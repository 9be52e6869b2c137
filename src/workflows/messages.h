// What the user reads in the workflows' message boxes, all under one title.
#pragma once

#include <string>

#include "main_window/notice.h"

namespace orvane {

inline constexpr char kNetErrMessage[] =
    "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet.";
inline constexpr char kFileErrMessage[] =
    "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap.";
inline constexpr char kProxyErrMessage[] =
    "May chu proxy tu choi ket noi.\r\nXin vui long kiem tra ten dang nhap va mat khau cua proxy.";
inline constexpr char kDiskErrMessage[] =
    "Khong ghi duoc tep tai ve vao may tinh.\r\nXin vui long kiem tra quyen ghi va dung luong o "
    "dia.";
inline constexpr char kWrongFolderMessage[] =
    "Thu muc chua dung.\r\nXin vui long cho biet thu muc da cai dat Orvane.";
inline constexpr char kNoFolderMessage[] = "Xin vui long cho biet thu muc da cai dat Orvane.";
inline constexpr char kNoCustomerMessage[] =
    "Khong doc duoc ma khach hang cua ban trong thu muc da cai dat Orvane.\r\n"
    "Xin vui long lien he nha cung cap.";
inline constexpr char kStartFailedMessage[] =
    "Khong khoi dong duoc chuong trinh vua tai ve.\r\nXin vui long lien he nha cung cap.";

inline constexpr char kUnsignedMessage[] =
    "Chuong trinh vua tai ve khong mang chu ky so cua nha cung cap nen khong duoc chay.\r\n"
    "Xin vui long lien he nha cung cap.";

}  // namespace orvane
