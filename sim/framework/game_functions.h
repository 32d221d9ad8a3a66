// How the simulated game publishes its functions to the key registry.
//
// GameFunction<Key, Impl> wraps a game function so that every call first
// passes the fault table under its key. Hookable<Key, Impl> additionally gives
// the function a hook slot: Call (and the address published for the key) runs
// the chain's head, whose bottom is the wrapped game function; each detour's
// original is a trampoline of the slot's pool that runs on into the chain.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>
#include <utility>

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

// Trampolines per hookable function, handed out in turn: a freed one is
// reused only after every other was, so that a call through a stale original
// is seen. Other plugins' detours per function (the otherPlugin step).
inline constexpr std::size_t kTrampolines = 64;
inline constexpr std::size_t kOtherDetours = 4;

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
  // Trampoline I: runs on into the chain from where its attach put it,
  // through its jump: straight to its target, or to Checked<I>.
  template <std::size_t I>
  static inline void* jump = nullptr;
  template <std::size_t I>
  static R Trampoline(A... args) {
    return reinterpret_cast<Fn>(jump<I>)(args...);
  }
  // One that a rebuild freed is a defect to call (the real one is reused
  // code); once a module was unloaded, a target in it is a defect too. The
  // call then goes to the game's function.
  template <std::size_t I>
  static R Checked(A... args) {
    const HookSlot::Trampoline& trampoline = slot->trampolines[I];
    if (!trampoline.live) {
      Fw().modules.NoteDefect("a detour calls " + std::string(Key.view()) +
                              " through a trampoline the framework freed when it rebuilt the chain");
      return Original(args...);
    }
    if (Fw().hooks.IsOfUnloadedModule(trampoline.target)) {
      Fw().modules.NoteDefect("the chain of " + std::string(Key.view()) + " calls into a hook of an unloaded plugin");
      return Original(args...);
    }
    return reinterpret_cast<Fn>(trampoline.target)(args...);
  }
  // Another plugin's detour I: counts the call, then calls on through its
  // original, or (a plugin that vetoes the call) returns without.
  template <std::size_t I>
  static R OtherDetour(A... args) {
    HookSlot::OtherDetour& other = slot->others[I];
    ++other.calls;
    if (other.blocks || other.original == nullptr) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    return reinterpret_cast<Fn>(other.original)(args...);
  }
  static void Register() {
    slot = Fw().registry.AddHookable(std::string(Key.view()), reinterpret_cast<void*>(&Call),
                                     reinterpret_cast<void*>(&Original));
    Pools(std::make_index_sequence<kTrampolines>{}, std::make_index_sequence<kOtherDetours>{});
  }

 private:
  template <std::size_t... T, std::size_t... O>
  static void Pools(std::index_sequence<T...>, std::index_sequence<O...>) {
    slot->trampolines = {HookSlot::Trampoline{reinterpret_cast<void*>(&Trampoline<T>), &jump<T>,
                                              reinterpret_cast<void*>(&Checked<T>)}...};
    ((jump<T> = reinterpret_cast<void*>(&Checked<T>)), ...);
    slot->others = {HookSlot::OtherDetour{reinterpret_cast<void*>(&OtherDetour<O>)}...};
  }
};

}  // namespace simfw
