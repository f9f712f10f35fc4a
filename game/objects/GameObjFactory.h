#pragma once

#include <string>

class GameObj;

// Constructs a game object from its class name; unknown names give no object.
class GameObjFactory {
public:
    static GameObj* Construct(const std::string& typeName);
};
