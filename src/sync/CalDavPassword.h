// Where the CalDAV password comes from: the desktop keyring (Secret Service, through libsecret)
// when one runs on the session bus, else ~/.netrc through libcurl, used only when nobody but its
// owner can read it. The password is never written to the settings, a log or a message.
#pragma once

#include "sync/CalDavError.h"
#include "sync/CalDavHttp.h"

#include <string>

namespace kal::caldav {

enum class KeyringOutcome {
    Done,        // found, stored or cleared
    Missing,     // no password stored for this server and user
    Unavailable, // no Secret Service on the session bus
    Failed,
};

struct KeyringResult {
    KeyringOutcome outcome = KeyringOutcome::Unavailable;
    std::string password; // lookups only
    std::string reason;   // UTF-8, for Unavailable and Failed
};

// Asks the session bus whether a keyring runs, without starting one.
bool keyringRunning();
KeyringResult keyringLookup(const std::string& collectionUrl, const std::string& user);
KeyringResult keyringStore(const std::string& collectionUrl, const std::string& user, const std::string& password);
KeyringResult keyringClear(const std::string& collectionUrl, const std::string& user);

// $HOME/.netrc
std::string defaultNetrcFile();

struct NetrcCheck {
    DavStatus status; // Credentials when the file is open to others
    std::string file; // empty when there is none
};
NetrcCheck checkNetrcFile(const std::string& file);

// The keyring's password, else the netrc file when it passes the check.
struct CredentialsLookup {
    DavStatus status;
    Credentials credentials;
};
CredentialsLookup lookupCredentials(const std::string& collectionUrl, const std::string& user,
                                    const std::string& netrcFile = defaultNetrcFile());

} // namespace kal::caldav
