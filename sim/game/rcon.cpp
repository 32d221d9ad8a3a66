// The game's RCON connection fields, its answer to a client, and the way a
// packet and a typed console line reach the framework's commands.
#include "sim/game/rcon.h"

#include <cstddef>
#include <stdexcept>
#include <string>

#include "sim/framework/engine_text.h"
#include "sim/framework/framework.h"
#include "sim/framework/game_functions.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/game.h"

namespace sim {

namespace {

// The game sends the client one response packet: the packet's id, its type
// and the text.
void SendMessage(RconConnection* /*connection*/, int id, int type, rec::FString* text) {
  const int units = text != nullptr && text->Data.ArrayNum > 0 ? text->Data.ArrayNum - 1 : 0;
  Game::Current()->AddRconReply(RconReply{id, type, units > 0 ? simfw::ToUtf8(text->Data.Data, units) : std::string()});
}

// Engine text from the engine allocator, the terminator counted; an empty
// text has no buffer.
rec::FString EngineText(std::u16string_view text) {
  rec::FString result{{nullptr, 0, 0}};
  if (text.empty()) return result;
  for (char16_t unit : text) AppendToEngineArray(result.Data, unit);
  AppendToEngineArray(result.Data, u'\0');
  return result;
}

}  // namespace

RconPacket::RconPacket(int id, std::u16string_view body)
    // The length counts the id, the type, the body's characters and two
    // terminators, as the client wrote them.
    : packet_{static_cast<int>(body.size()) + 10, id, 2, EngineText(body)} {}

RconPacket::~RconPacket() { FreeEngineArray(packet_.Body.Data); }

using SendMessageFunction = simfw::GameFunction<"RCONClientConnection.SendMessage(int,int,FString&)", &SendMessage>;

void RegisterRconFunctions() {
  simfw::Fw().registry.AddField("RCONClientConnection.IsAuthenticated", offsetof(RconConnection, IsAuthenticated));
  SendMessageFunction::Register();
}

void Game::ReceiveRconPacket(const std::string& body, bool authenticated) {
  RconConnection connection;
  connection.IsAuthenticated = authenticated;
  RconPacket packet(next_rcon_id_++, simfw::Utf16FromUtf8(body));
  Event("an RCON client sends \"" + body + "\"" + (authenticated ? "" : " without having authenticated"));
  // The framework runs plugins' commands only for an authenticated client.
  if (!authenticated) {
    Event("the game turns the unauthenticated RCON client away");
    return;
  }
  std::string reply;
  if (!simfw::Fw().commands.DispatchRcon(reinterpret_cast<RCONClientConnection*>(&connection), packet.get(),
                                         reinterpret_cast<UWorld*>(world_), reply)) {
    Event("no RCON command of a plugin or the framework takes it: the game runs it as its own");
    return;
  }
  if (reply.empty()) return;
  // The framework answers its own commands through the game's reply (not a
  // call of the plugin's, so no fault is armed on it).
  rec::FString text = EngineText(simfw::Utf16FromUtf8(reply));
  SendMessage(&connection, packet.get()->Id, 0, &text);
  FreeEngineArray(text.Data);
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
