// The game's RCON server as the simulated game has it: a client's connection
// (its authentication flag reached by key), the packet it sends, and the
// game function that answers the client. The framework hooks the packet's
// processing: it runs a command a plugin registered for an authenticated
// client, and a packet that a command took does not reach the game.
#pragma once

#include <string>
#include <vector>

#include "asa/engine_types.h"

namespace sim {

// A client's connection; the game's fields the framework and plugins reach by key.
struct RconConnection {
  bool IsAuthenticated = false;
  int32 padding = 0;
};

// What the game sent a client: RCONClientConnection.SendMessage(int,int,FString&).
struct RconReply {
  int32 id = 0;
  int32 type = 0;
  std::string text;
};

// Publishes the connection's fields and the reply function under their keys.
void RegisterRconFunctions();

}  // namespace sim
