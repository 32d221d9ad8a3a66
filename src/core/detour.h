// One hooked game function as the plugin sees it, and the one shape every
// detour has: the plugin's own work runs inside the boundary, and the game's
// function is called exactly once, with the arguments the game passed.
//
//   struct TransferButtonHook : core::Detour<TransferButtonHook, game::kShowTransferCharacterConfirmationDialog> {
//     static constexpr const char* kBeforeFailure = "Cradlekeep transfer button hook failed";
//     static void Before(AShooterPlayerController* controller);
//   };
//
// A hook states only what the plugin does, with any of:
//   `static bool Wants(A...)`          a cheap test: when false the game's
//                                      function is all that runs (hot paths);
//   `using Note = T;`                  a record Before fills for After;
//   `static void Before([Note&,] A...)` work before the game's function;
//   `static void After([const Note&,] A...)` work after it;
// with `kBeforeFailure` / `kAfterFailure`, the text of the error line that
// tells a failure of that work ("<text>: <what>"). The game's function is
// reached through `original`, which the framework sets when it installs the
// hook and nulls when it removes it; a null original is skipped (the
// function's result is then a value-initialised one). Game thread only.
#pragma once

#include <type_traits>

#include "core/boundary.h"
#include "core/log.h"

namespace ck::core {

namespace detail {

struct NoNote {};

template <typename Self>
struct NoteOfHook {
  using Type = NoNote;
};
template <typename Self>
  requires requires { typename Self::Note; }
struct NoteOfHook<Self> {
  using Type = typename Self::Note;
};

template <typename Self, typename Fn>
struct DetourBody;

template <typename Self, typename R, typename... A>
struct DetourBody<Self, R(A...)> {
  using Note = typename NoteOfHook<Self>::Type;
  static constexpr bool kHasNote = !std::is_same_v<Note, NoNote>;

  static R Run(A... args) {
    if constexpr (requires { Self::Wants(args...); }) {
      if (!Self::Wants(args...)) return Game(args...);
      return Full(args...);  // kept out of line: the test above is the hot path
    } else {
      return Full(args...);
    }
  }

  [[gnu::noinline]] static R Full(A... args) {
    Note note{};
    if constexpr (requires { Self::kBeforeFailure; }) {
      Contain([&] { Before(note, args...); }, [](const char* what) { log::Error("{}: {}", Self::kBeforeFailure, what); });
    }
    if constexpr (std::is_void_v<R>) {
      Game(args...);
      RunAfter(note, args...);
    } else {
      R result = Game(args...);
      RunAfter(note, args...);
      return result;
    }
  }

  static R Game(A... args) {
    if (Self::original == nullptr) [[unlikely]] {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    return Self::original(args...);
  }

  static void Before(Note& note, A&... args) {
    if constexpr (kHasNote) {
      Self::Before(note, args...);
    } else {
      Self::Before(args...);
    }
  }

  static void RunAfter(const Note& note, A&... args) {
    if constexpr (requires { Self::kAfterFailure; }) {
      Contain(
          [&] {
            if constexpr (kHasNote) {
              Self::After(note, args...);
            } else {
              Self::After(args...);
            }
          },
          [](const char* what) { log::Error("{}: {}", Self::kAfterFailure, what); });
    }
  }
};

}  // namespace detail

// `Form` is the signature the detour takes: the function's own, or that of
// another name of it that some game builds have (another parameter list).
template <typename Self, const auto& kFunction,
          typename Form = typename std::remove_cvref_t<decltype(kFunction)>::Signature>
struct Detour {
  using Fn = Form;
  static inline Fn* original = nullptr;

  // The key the hook is installed on: the name the running build has.
  static const char* Key() { return kFunction.BoundKey(); }
  // False when the running game build lacks the hooked function under a
  // name of this form.
  static bool Present() { return kFunction.template BoundAs<Fn>(); }
  // The address the framework puts in front of the game's function.
  static void* DetourAddress() {
    Fn* detour = &detail::DetourBody<Self, Fn>::Run;
    return reinterpret_cast<void*>(detour);
  }
  static void** OriginalSlot() { return reinterpret_cast<void**>(&original); }
  // Runs the hook as the game would (for tests).
  template <typename... A>
  static decltype(auto) Call(A&&... args) {
    return detail::DetourBody<Self, Fn>::Run(std::forward<A>(args)...);
  }
};

}  // namespace ck::core
