#include "workflows/checked_start.h"

#include <memory>
#include <optional>

#include "platform/path_text.h"

namespace orvane {

namespace {

// Tells support a file altered on its way (no intact signature) from one
// some other publisher signed, or whose certificate was revoked.
std::string SignatureLine(const std::string& path, const Signature& signature,
                          std::string_view publisher) {
  std::string line = "Signature of " + path + ": ";
  line += signature.signer    ? "signed by \"" + *signature.signer + "\""
          : signature.revoked ? "revoked"
                              : "none intact";
  if (signature.signer && signature.revocationUnknown) line += ", revocation not checked (offline)";
  if (signature.signer != publisher) line += ", not \"" + std::string(publisher) + "\": deleted";
  return line;
}

}  // namespace

CheckedStart StartDownloaded(Platform& platform, SupportLog& log, const std::string& path,
                             std::string_view publisher, const std::string& folder) {
  std::unique_ptr<HeldFile> held = platform.files.Hold(path);
  if (!held) return CheckedStart::Failed;
  // Whatever links the name went through, what starts lies where it belongs.
  const std::string final = held->FinalPath();
  if (!IsInsideFolder(final, folder)) {
    log.Write("Program refused: " + (final.empty() ? path : final) + " is not in " + folder);
    return CheckedStart::Failed;
  }
  if (!publisher.empty()) {
    const Signature signature = held->CheckSignature();
    log.Write(SignatureLine(final, signature, publisher));
    if (signature.signer != publisher) {
      held.reset();  // a held file can't be deleted
      platform.files.RemoveFile(path);
      return CheckedStart::Refused;
    }
  }
  // The loader opens the file sharing read as well, so it starts while held:
  // nothing can be swapped in between the check and the start.
  switch (platform.processes.StartProgram(final, DllSources::SystemFirst)) {
    case StartOutcome::Started:
      return CheckedStart::Started;
    case StartOutcome::Declined:
      return CheckedStart::Declined;
    default:
      return CheckedStart::Failed;
  }
}

}  // namespace orvane
