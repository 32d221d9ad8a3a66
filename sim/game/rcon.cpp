// The game's RCON connection fields, its answer to a client, and the way a
// packet and a typed console line reach the framework's commands.
#include "sim/game/rcon.h"

#include <cstddef>
#include <stdexcept>
#include <string>

#include "sim/framework/engine_text.h"
#include "sim/framework/framework.h"
#include "sim/framework/game_functions.h"
#include "sim/game/game.h"

namespace sim {

namespace {

// The game sends the client one response packet: the packet's id, its type
// and the text.
void SendMessage(RconConnection* /*connection*/, int32 id, int32 type, FString* text) {
  Game::Current()->AddRconReply(RconReply{id, type, text != nullptr ? simfw::ToUtf8(*text) : std::string()});
}

}  // namespace

using SendMessageFunction = simfw::GameFunction<"RCONClientConnection.SendMessage(int,int,FString&)", &SendMessage>;

void RegisterRconFunctions() {
  simfw::Fw().registry.AddField("RCONClientConnection.IsAuthenticated", offsetof(RconConnection, IsAuthenticated));
  SendMessageFunction::Register();
}

void Game::ReceiveRconPacket(const std::string& body, bool authenticated) {
  RconConnection connection;
  connection.IsAuthenticated = authenticated;
  // SERVERDATA_EXECCOMMAND.
  RCONPacket packet{static_cast<int32>(body.size() + 10), next_rcon_id_++, 2, simfw::FromUtf8(body)};
  Event("an RCON client sends \"" + body + "\"" + (authenticated ? "" : " without having authenticated"));
  // The framework runs plugins' commands only for an authenticated client.
  if (!authenticated) {
    Event("the game turns the unauthenticated RCON client away");
    return;
  }
  std::string reply;
  if (!simfw::Fw().commands.DispatchRcon(reinterpret_cast<RCONClientConnection*>(&connection), &packet,
                                         reinterpret_cast<UWorld*>(world_), reply)) {
    Event("no RCON command of a plugin or the framework takes it: the game runs it as its own");
    return;
  }
  if (reply.empty()) return;
  // The framework answers its own commands through the game's reply (not a
  // call of the plugin's, so no fault is armed on it).
  FString text = simfw::FromUtf8(reply);
  SendMessage(&connection, packet.Id, 0, &text);
}

void Game::TypeConsoleLine(const std::string& line, Player* player) {
  APlayerController* caller = nullptr;
  if (player != nullptr) {
    if (!player->online) throw std::runtime_error("player '" + player->id + "' is not online");
    // The game lets only admins run console commands on the server.
    if (player->controller->CheatManager == nullptr) {
      throw std::runtime_error("player '" + player->id + "' is no admin: the game refuses the console command");
    }
    caller = reinterpret_cast<APlayerController*>(player->controller);
  }
  Event((player != nullptr ? player->id : std::string("the server console")) + " types \"" + line + "\"");
  if (!simfw::Fw().commands.DispatchConsole(line, caller)) Event("no console command of a plugin takes it");
}

}  // namespace sim
