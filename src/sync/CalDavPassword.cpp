#include "sync/CalDavPassword.h"

#include <cstdlib>
#include <libsecret/secret.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kal::caldav {

namespace {

const SecretSchema* schema()
{
    static const SecretSchema kalendraSchema = {
        "org.example.Kalendra.CalDav",
        SECRET_SCHEMA_NONE,
        {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr};
    return &kalendraSchema;
}

// Without an address GLib would launch a bus of its own; a keyring needs one already there.
bool sessionBusKnown()
{
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info { };
    return runtime && ::stat((std::string(runtime) + "/bus").c_str(), &info) == 0;
}

KeyringResult unavailable()
{
    return {KeyringOutcome::Unavailable, {}, "パスワードを保管するキーリング（Secret Service）が動いていません。"};
}

KeyringResult failed(GError* error, const char* what)
{
    KeyringResult result{KeyringOutcome::Failed, {}, what};
    if (error)
        result.reason += std::string("（") + error->message + "）";
    g_clear_error(&error);
    return result;
}

} // namespace

bool keyringRunning()
{
    if (!sessionBusKnown())
        return false;
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        g_clear_error(&error);
        return false;
    }
    GVariant* reply =
        g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                    "NameHasOwner", g_variant_new("(s)", "org.freedesktop.secrets"),
                                    G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, &error);
    gboolean owned = FALSE;
    if (reply) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_clear_error(&error);
    g_object_unref(bus);
    return owned;
}

KeyringResult keyringLookup(const std::string& collectionUrl, const std::string& user)
{
    if (!keyringRunning())
        return unavailable();
    GError* error = nullptr;
    gchar* password = secret_password_lookup_sync(schema(), nullptr, &error, "url", collectionUrl.c_str(), "user",
                                                  user.c_str(), nullptr);
    if (error)
        return failed(error, "キーリングからパスワードを読めませんでした。");
    if (!password)
        return {KeyringOutcome::Missing, {}, {}};
    KeyringResult result{KeyringOutcome::Done, password, {}};
    secret_password_free(password);
    return result;
}

KeyringResult keyringStore(const std::string& collectionUrl, const std::string& user, const std::string& password)
{
    if (!keyringRunning())
        return unavailable();
    GError* error = nullptr;
    const std::string label = "Kalendra: " + user + " @ " + collectionUrl;
    secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(), nullptr, &error,
                               "url", collectionUrl.c_str(), "user", user.c_str(), nullptr);
    if (error)
        return failed(error, "キーリングにパスワードを保管できませんでした。");
    return {KeyringOutcome::Done, {}, {}};
}

KeyringResult keyringClear(const std::string& collectionUrl, const std::string& user)
{
    if (!keyringRunning())
        return unavailable();
    GError* error = nullptr;
    const gboolean removed = secret_password_clear_sync(schema(), nullptr, &error, "url", collectionUrl.c_str(), "user",
                                                        user.c_str(), nullptr);
    if (error)
        return failed(error, "キーリングのパスワードを消せませんでした。");
    return {removed ? KeyringOutcome::Done : KeyringOutcome::Missing, {}, {}};
}

std::string defaultNetrcFile()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.netrc" : std::string();
}

NetrcCheck checkNetrcFile(const std::string& file)
{
    struct stat info { };
    if (file.empty() || ::stat(file.c_str(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        return {davFailure(DavError::Credentials), {}};
    return {{}, file};
}

CredentialsLookup lookupCredentials(const std::string& collectionUrl, const std::string& user,
                                    const std::string& netrcFile)
{
    CredentialsLookup lookup;
    lookup.credentials.user = user;
    KeyringResult stored = keyringLookup(collectionUrl, user);
    if (stored.outcome == KeyringOutcome::Done) {
        lookup.credentials.password = std::move(stored.password);
        return lookup;
    }
    const NetrcCheck netrc = checkNetrcFile(netrcFile);
    lookup.status = netrc.status;
    lookup.credentials.netrcFile = netrc.file;
    return lookup;
}

} // namespace kal::caldav
