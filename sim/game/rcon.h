// The game's RCON server as the simulated game has it: a client's connection
// (its authentication flag reached by key), the packet it sends, and the
// game function that answers the client. The framework hooks the packet's
// processing: it runs a command a plugin registered for an authenticated
// client, and a packet that a command took does not reach the game.
#pragma once

#include <string>
#include <string_view>

#include "sim/game/records.h"

namespace sim {

// A client's connection; the game's fields the framework and plugins reach by key.
struct RconConnection {
  bool IsAuthenticated = false;
  int padding = 0;
};

// A packet a client sent, laid out as the game's record (records.h); its
// body is engine text the packet owns and frees.
class RconPacket {
 public:
  // SERVERDATA_EXECCOMMAND (type 2) with the packet's id and body.
  RconPacket(int id, std::u16string_view body);
  ~RconPacket();
  RconPacket(const RconPacket&) = delete;
  RconPacket& operator=(const RconPacket&) = delete;

  rec::RCONPacket* get() { return &packet_; }

 private:
  rec::RCONPacket packet_;
};

// What the game sent a client: RCONClientConnection.SendMessage(int,int,FString&).
struct RconReply {
  int id = 0;
  int type = 0;
  std::string text;
};

// Publishes the connection's fields and the reply function under their keys.
void RegisterRconFunctions();

}  // namespace sim
