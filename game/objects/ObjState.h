#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

// Where an object is in its life. The numbers are the ones the state digest sums.
enum class Life : int32_t {
    kNormal = 1,
    kSinking = 2,  // in the water: no more overlap tests
    kDead = 3,     // removed at the end of the manager's pass
};

// The two halves of the sea switch: every object with a realm is put into one of them
// when the player switches the seas, and goes back to normal by itself.
enum class SeaSwitch : int32_t {
    kToGhost = 5,   // fading from the living sea to the ghost sea
    kToLiving = 6,  // and back
};

// Which sea the game is in.
enum class Sea : int32_t { kLiving = 1, kGhost = 2 };

namespace obj_state_detail {
// One address per kind of state: Life, SeaSwitch, or one class's own Phase.
template <class E>
inline constexpr char kKind = 0;
}  // namespace obj_state_detail

// An object's state: a Life, a half of the sea switch, or a phase of the object's own
// class (an `enum class Phase : int32_t` in that class). States compare equal only when
// they are the same named state: a mine's Phase::kExploding is never Life::kSinking,
// although both are 2 in the digest.
class ObjState {
public:
    template <class E, class = std::enable_if_t<std::is_enum_v<E> && !std::is_convertible_v<E, int32_t> &&
                                                std::is_same_v<std::underlying_type_t<E>, int32_t>>>
    constexpr ObjState(E state) : kind_(&obj_state_detail::kKind<E>), number_(static_cast<int32_t>(state)) {}

    // The number the state digest sums and SetState compares.
    constexpr int32_t Number() const { return number_; }

    friend constexpr bool operator==(ObjState a, ObjState b) {
        return a.kind_ == b.kind_ && a.number_ == b.number_;
    }
    friend constexpr bool operator!=(ObjState a, ObjState b) { return !(a == b); }

private:
    const void* kind_;
    int32_t number_;
};

// A class's own phases keep clear of the numbers of kNormal, kDead and the sea switch:
// SetState compares numbers, and a phase sharing one would swallow a change to it.
// (Sinking's 2 is shared by phases of classes that are never put to sinking.)
template <class Phase>
constexpr bool PhasesClearOfShared(std::initializer_list<Phase> phases) {
    for (Phase p : phases) {
        const int32_t n = static_cast<int32_t>(p);
        if (n == static_cast<int32_t>(Life::kNormal) || n == static_cast<int32_t>(Life::kDead) ||
            n == static_cast<int32_t>(SeaSwitch::kToGhost) || n == static_cast<int32_t>(SeaSwitch::kToLiving))
            return false;
    }
    return true;
}
