// MdlDownload::PurgeUrlCache: makes the next request reach the server.
#include "download/download_text.h"
#include "download/mdl_download.h"

namespace orvane {

// The usual answer is that no entry exists; neither answer changes what the
// download does next, so the result is not looked at.
void MdlDownload::PurgeUrlCache(std::string url) {
  platform_.internet.DeleteUrlCacheEntryA(CacheEntryAddress(url));
}

}  // namespace orvane
