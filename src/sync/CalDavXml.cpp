#include "sync/CalDavXml.h"

#include <climits>
#include <libxml/parser.h>
#include <mutex>

namespace kal::caldav::xml {

namespace {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

const char* prefixOf(const char* ns)
{
    const std::string_view name(ns);
    return name == kDav ? "d" : name == kCalDav ? "c" : "cs";
}

const xmlChar* chars(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

} // namespace

Document parse(std::string_view text)
{
    if (text.size() > INT_MAX)
        return nullptr;
    initialiseOnce();
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    Document document(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, options));
    if (document && document->intSubset)
        return nullptr;
    return document;
}

bool is(const xmlNode* node, const char* ns, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           xmlStrEqual(node->ns->href, chars(ns)) && xmlStrEqual(node->name, chars(name));
}

xmlNode* child(xmlNode* parent, const char* ns, const char* name)
{
    for (xmlNode* node = parent ? parent->children : nullptr; node; node = node->next)
        if (is(node, ns, name))
            return node;
    return nullptr;
}

std::string text(xmlNode* node)
{
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string result = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return result;
}

std::string trimmedText(xmlNode* node)
{
    std::string result = text(node);
    const char* blanks = " \t\r\n";
    result.erase(0, result.find_first_not_of(blanks));
    result.erase(result.find_last_not_of(blanks) + 1);
    return result;
}

std::string attribute(xmlNode* node, const char* name)
{
    xmlChar* value = xmlGetNoNsProp(node, chars(name));
    std::string result = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
}

Body::Body(const char* ns, const char* rootName) : document_(xmlNewDoc(chars("1.0")))
{
    root_ = xmlNewDocNode(document_.get(), nullptr, chars(rootName), nullptr);
    xmlDocSetRootElement(document_.get(), root_);
    for (const char* declared : {kDav, kCalDav, kCalendarServer})
        xmlNewNs(root_, chars(declared), chars(prefixOf(declared)));
    xmlSetNs(root_, xmlSearchNsByHref(document_.get(), root_, chars(ns)));
}

xmlNode* Body::add(xmlNode* parent, const char* ns, const char* name, const std::string& text)
{
    xmlNode* node = xmlNewChild(parent, xmlSearchNsByHref(document_.get(), root_, chars(ns)), chars(name), nullptr);
    if (!text.empty())
        xmlNodeAddContent(node, chars(text.c_str()));
    return node;
}

std::string Body::serialise() const
{
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(document_.get(), &bytes, &size, "UTF-8");
    std::string result(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    xmlFree(bytes);
    return result;
}

} // namespace kal::caldav::xml
