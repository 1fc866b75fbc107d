// The local socket through which a later start wakes the running instance: a Unix stream socket
// in the temporary folder, readable by its user only; the later start sends one line "wake".
#pragma once

#include <string>

namespace kal::wake {

// True when an instance listens at PATH and took the message.
bool sendWake(const std::string& path);

// A listening, non-blocking socket at PATH, or -1. A socket file nobody listens on (left by a
// crash) is replaced; the caller has asked it first.
int listenAt(const std::string& path);

// A connection waiting on LISTENING (non-blocking), or -1 when none waits.
int acceptWaiting(int listening);

enum class Received { Wake, More, Ended };

// Reads what CONNECTION has into BUFFER: Wake once the message is complete, More to wait for
// the rest, Ended when the peer closed or sent something else.
Received readWake(int connection, std::string& buffer);

} // namespace kal::wake
