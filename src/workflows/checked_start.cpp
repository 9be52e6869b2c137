#include "workflows/checked_start.h"

#include <memory>
#include <optional>

namespace orvane {

namespace {

// Tells support a file altered on its way (no intact signature) from one
// some other publisher signed.
std::string SignatureLine(const std::string& path, const std::optional<std::string>& signer,
                          std::string_view publisher) {
  std::string line = "Signature of " + path + ": ";
  line += signer ? "signed by \"" + *signer + "\"" : "none intact";
  if (signer != publisher) line += ", not \"" + std::string(publisher) + "\": deleted";
  return line;
}

}  // namespace

CheckedStart StartDownloaded(Platform& platform, SupportLog& log, const std::string& path,
                             std::string_view publisher) {
  std::unique_ptr<HeldFile> held = platform.files.Hold(path);
  if (!held) return CheckedStart::Failed;
  if (!publisher.empty()) {
    const std::optional<std::string> signer = held->VerifiedSigner();
    log.Write(SignatureLine(path, signer, publisher));
    if (!signer || *signer != publisher) {
      held.reset();  // a held file can't be deleted
      platform.files.RemoveFile(path);
      return CheckedStart::Refused;
    }
  }
  // The loader opens the file sharing read as well, so it starts while held:
  // nothing can be swapped in between the check and the start.
  switch (platform.processes.StartProgram(path)) {
    case StartOutcome::Started:
      return CheckedStart::Started;
    case StartOutcome::Declined:
      return CheckedStart::Declined;
    default:
      return CheckedStart::Failed;
  }
}

}  // namespace orvane
