// libxml2 for WebDAV bodies: reading replies by namespace and building request bodies, so that
// text in them (hrefs, tokens) is always escaped by the library.
#pragma once

#include <libxml/tree.h>
#include <memory>
#include <string>
#include <string_view>

namespace kal::caldav::xml {

inline constexpr const char* kDav = "DAV:";
inline constexpr const char* kCalDav = "urn:ietf:params:xml:ns:caldav";
inline constexpr const char* kCalendarServer = "http://calendarserver.org/ns/";

struct DocumentFree {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

// Nothing from the network is fetched and no DTD is accepted, so no entity can expand.
Document parse(std::string_view text);

bool is(const xmlNode* node, const char* ns, const char* name);
xmlNode* child(xmlNode* parent, const char* ns, const char* name);
std::string text(xmlNode* node);
std::string trimmedText(xmlNode* node);
std::string attribute(xmlNode* node, const char* name);

// A request body whose root declares the three namespaces above.
class Body {
public:
    Body(const char* ns, const char* rootName);
    xmlNode* root() const { return root_; }
    xmlNode* add(xmlNode* parent, const char* ns, const char* name, const std::string& text = {});
    std::string serialise() const;

private:
    Document document_;
    xmlNode* root_ = nullptr;
};

} // namespace kal::caldav::xml
