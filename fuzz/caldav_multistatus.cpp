// Server replies are untrusted: the multistatus reader gives a result or a refusal for any bytes,
// and every href it gives is one spelling of a path on the collection's server.
#include "FuzzSupport.h"
#include "sync/CalDavMultistatus.h"
#include "sync/CalDavUrl.h"

using namespace kal::caldav;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = kal::fuzz::bytesOf(data, size);
    const Multistatus read = readMultistatus(text, "https://dav.example.jp/cal/home/");
    FUZZ_CHECK(read.ok || (read.resources.empty() && read.syncToken.empty()));
    for (const DavResource& resource : read.resources) {
        FUZZ_CHECK(!resource.href.empty() && resource.href[0] == '/');
        FUZZ_CHECK(normalisePath(resource.href) == resource.href);
        FUZZ_CHECK((resource.href + "/").find("/../") == std::string::npos);
        FUZZ_CHECK(hrefPath("https://dav.example.jp/cal/home/", resource.href) == resource.href);
    }
    const DavErrorBody error = readDavError(text, "https://dav.example.jp/cal/home/");
    FUZZ_CHECK(error.conflictHref.empty() || (error.uidConflict && error.conflictHref[0] == '/'));
    return 0;
}
