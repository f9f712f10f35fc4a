#pragma once

#include "Colour.h"

// One palette for every picture, so ships, towers, buttons and particles read as
// one world: warm woods and cream canvas, slate stone, dark iron, brass, a teal sea,
// all outlined in the same dark brown ink.
namespace palette {

constexpr Colour kInk{0.165, 0.102, 0.063};

constexpr Colour kWoodDark{0.357, 0.227, 0.129};
constexpr Colour kWood{0.541, 0.353, 0.196};
constexpr Colour kWoodLight{0.725, 0.541, 0.341};
constexpr Colour kWoodPale{0.988, 0.933, 0.827};
constexpr Colour kWoodPaleGrain{0.878, 0.757, 0.580};

constexpr Colour kCanvas{0.965, 0.937, 0.871};
constexpr Colour kCanvasShade{0.835, 0.784, 0.667};

constexpr Colour kStone{0.612, 0.588, 0.545};
constexpr Colour kStoneDark{0.408, 0.388, 0.361};
constexpr Colour kStoneLight{0.761, 0.737, 0.690};

constexpr Colour kIron{0.176, 0.188, 0.208};
constexpr Colour kIronLight{0.416, 0.447, 0.482};

constexpr Colour kBrass{0.788, 0.627, 0.251};
constexpr Colour kBrassLight{0.925, 0.824, 0.478};
constexpr Colour kGold{0.976, 0.792, 0.255};

constexpr Colour kSea{0.110, 0.427, 0.549};
constexpr Colour kFoam{0.933, 0.965, 0.973};

constexpr Colour kGrass{0.361, 0.569, 0.259};
constexpr Colour kGrassDark{0.216, 0.392, 0.184};
constexpr Colour kSand{0.851, 0.753, 0.541};
constexpr Colour kSandWet{0.600, 0.537, 0.400};
constexpr Colour kSeabed{0.380, 0.373, 0.318};

constexpr Colour kFireCore{1.0, 0.957, 0.745};
constexpr Colour kFire{1.0, 0.580, 0.157};
constexpr Colour kFireDeep{0.851, 0.251, 0.063};

constexpr Colour kParchment{0.910, 0.804, 0.604};
constexpr Colour kParchmentDark{0.722, 0.553, 0.333};

constexpr Colour kEmblem{0.431, 0.416, 0.400};

}  // namespace palette
