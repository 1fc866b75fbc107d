#include "sync/CalDavMultistatus.h"

#include "sync/CalDavUrl.h"
#include "sync/CalDavXml.h"

#include <charconv>

namespace kal::caldav {

namespace {

// "HTTP/1.1 404 Not Found" gives 404; anything else 0.
int statusCode(std::string_view line)
{
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return 0;
    int code = 0;
    const char* begin = line.data() + space + 1;
    const char* end = line.data() + line.size();
    const auto [next, error] = std::from_chars(begin, end, code);
    if (error != std::errc() || next - begin != 3)
        return 0;
    return code;
}

void readResourceType(xmlNode* type, DavResource& resource)
{
    resource.isCollection = xml::child(type, xml::kDav, "collection") != nullptr;
    resource.isCalendar = xml::child(type, xml::kCalDav, "calendar") != nullptr;
}

void readComponents(xmlNode* set, DavResource& resource)
{
    resource.componentsListed = true;
    for (xmlNode* comp = set->children; comp; comp = comp->next) {
        if (!xml::is(comp, xml::kCalDav, "comp"))
            continue;
        std::string name = xml::attribute(comp, "name");
        for (char& c : name)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        resource.components.push_back(name);
    }
}

void readProperty(xmlNode* property, const std::string& baseUrl, DavResource& resource)
{
    if (xml::is(property, xml::kDav, "getetag"))
        resource.etag = xml::trimmedText(property);
    else if (xml::is(property, xml::kDav, "displayname"))
        resource.displayName = xml::trimmedText(property);
    else if (xml::is(property, xml::kDav, "sync-token"))
        resource.syncToken = xml::trimmedText(property);
    else if (xml::is(property, xml::kCalendarServer, "getctag"))
        resource.ctag = xml::trimmedText(property);
    else if (xml::is(property, xml::kCalDav, "calendar-data"))
        resource.calendarData = xml::text(property);
    else if (xml::is(property, xml::kDav, "resourcetype"))
        readResourceType(property, resource);
    else if (xml::is(property, xml::kCalDav, "supported-calendar-component-set"))
        readComponents(property, resource);
    else if (xml::is(property, xml::kDav, "current-user-principal"))
        resource.principal = hrefPath(baseUrl, xml::trimmedText(xml::child(property, xml::kDav, "href")));
    else if (xml::is(property, xml::kCalDav, "calendar-home-set"))
        resource.calendarHome = hrefPath(baseUrl, xml::trimmedText(xml::child(property, xml::kDav, "href")));
}

// Properties under a failed propstat (404 for one the server lacks) are not values.
int readPropstats(xmlNode* response, const std::string& baseUrl, DavResource& resource)
{
    int failedStatus = 0;
    bool anySuccess = false;
    for (xmlNode* propstat = response->children; propstat; propstat = propstat->next) {
        if (!xml::is(propstat, xml::kDav, "propstat"))
            continue;
        const int status = statusCode(xml::trimmedText(xml::child(propstat, xml::kDav, "status")));
        if (status < 200 || status >= 300) {
            failedStatus = failedStatus ? failedStatus : status;
            continue;
        }
        anySuccess = true;
        if (xmlNode* prop = xml::child(propstat, xml::kDav, "prop"))
            for (xmlNode* property = prop->children; property; property = property->next)
                readProperty(property, baseUrl, resource);
    }
    return anySuccess ? 200 : failedStatus;
}

// A response may name several hrefs sharing one status; each becomes a resource.
void readResponse(xmlNode* response, const std::string& baseUrl, Multistatus& result)
{
    DavResource resource;
    const int propstatStatus = readPropstats(response, baseUrl, resource);
    xmlNode* status = xml::child(response, xml::kDav, "status");
    resource.status = status ? statusCode(xml::trimmedText(status)) : propstatStatus;
    for (xmlNode* href = response->children; href; href = href->next) {
        if (!xml::is(href, xml::kDav, "href"))
            continue;
        resource.href = hrefPath(baseUrl, xml::trimmedText(href));
        if (resource.href.empty())
            ++result.foreignHrefs;
        else
            result.resources.push_back(resource);
    }
}

} // namespace

Multistatus readMultistatus(std::string_view text, const std::string& baseUrl)
{
    Multistatus result;
    const xml::Document document = xml::parse(text);
    xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
    if (!root || !xml::is(root, xml::kDav, "multistatus"))
        return result;
    result.ok = true;
    for (xmlNode* node = root->children; node; node = node->next) {
        if (xml::is(node, xml::kDav, "response"))
            readResponse(node, baseUrl, result);
        else if (xml::is(node, xml::kDav, "sync-token"))
            result.syncToken = xml::trimmedText(node);
    }
    return result;
}

DavErrorBody readDavError(std::string_view text, const std::string& baseUrl)
{
    DavErrorBody body;
    const xml::Document document = xml::parse(text);
    xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
    if (!xml::is(root, xml::kDav, "error"))
        return body;
    body.staleSyncToken = xml::child(root, xml::kDav, "valid-sync-token") != nullptr;
    xmlNode* conflict = xml::child(root, xml::kCalDav, "no-uid-conflict");
    body.uidConflict = conflict != nullptr;
    if (xmlNode* href = xml::child(conflict, xml::kDav, "href"))
        body.conflictHref = hrefPath(baseUrl, xml::trimmedText(href));
    return body;
}

} // namespace kal::caldav
