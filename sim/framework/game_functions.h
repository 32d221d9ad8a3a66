// How the simulated game publishes its functions to the key registry.
//
// GameFunction<Key, Impl> wraps a game function so that every call first
// passes the fault table under its key. Hookable<Key, Impl> additionally gives
// the function a hook slot: Call (and the address published for the key) runs
// the chain's head, whose bottom is the wrapped game function.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "sim/framework/framework.h"

namespace simfw {

template <std::size_t N>
struct FixedString {
  constexpr FixedString(const char (&text)[N]) { std::copy_n(text, N, chars); }
  constexpr std::string_view view() const { return std::string_view(chars, N - 1); }
  char chars[N];
};

template <FixedString Key, auto Impl>
struct GameFunction;

template <FixedString Key, typename R, typename... A, R (*Impl)(A...)>
struct GameFunction<Key, Impl> {
  static R Call(A... args) {
    if (Fw().faults.Hit(Key.view())) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    return Impl(args...);
  }
  static void Register() {
    Fw().registry.AddFunction(std::string(Key.view()), reinterpret_cast<void*>(&Call));
  }
};

template <FixedString Key, auto Impl>
struct Hookable;

template <FixedString Key, typename R, typename... A, R (*Impl)(A...)>
struct Hookable<Key, Impl> {
  using Fn = R (*)(A...);
  static inline HookSlot* slot = nullptr;

  // The game calls the function: the chain runs from its head. An exception
  // that comes out is noted (the game's own or one of the plugin) and goes
  // on to the game's caller.
  static R Call(A... args) {
    ++slot->calls;
    Faults::Entry entry(Fw().faults);
    // A detour whose library is gone is never entered: the game would crash.
    if (Fw().modules.AnyUnloaded() && Fw().hooks.HeadIsUnloaded(*slot)) [[unlikely]] {
      Fw().modules.NoteDefect("the game calls " + std::string(Key.view()) + " through a hook of an unloaded plugin");
      return Original(args...);
    }
    try {
      if (slot->msvc_entry != nullptr) {
        // The game enters the chain as the MSVC-built game does.
        return reinterpret_cast<R (*)(void*, A...)>(slot->msvc_entry)(slot->head, args...);
      }
      return reinterpret_cast<Fn>(slot->head)(args...);
    } catch (...) {
      Fw().faults.NoteEscape(Key.view(), std::current_exception());
      throw;
    }
  }
  // The bottom of the chain: counts the call as having reached the game,
  // then runs the game's function (which may be armed to fail).
  static R Original(A... args) {
    ++slot->reached_game;
    try {
      return GameFunction<Key, Impl>::Call(args...);
    } catch (...) {
      Fw().faults.GameRaised(std::current_exception());
      throw;
    }
  }
  static void Register() {
    slot = Fw().registry.AddHookable(std::string(Key.view()), reinterpret_cast<void*>(&Call),
                                     reinterpret_cast<void*>(&Original));
  }
};

}  // namespace simfw
