#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Box.h"
#include "GOManager.h"
#include "GameObj.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"

namespace weather {

constexpr float kDt = kFrameStep;

// A plain box to stand for another object's renderable.
class BoxRenderable : public Renderable {
public:
    float GetWidth() override { return corners[3].x - corners[0].x; }
    float GetHeight() override { return corners[3].y - corners[0].y; }
};

// Any other game object, recognised only by its type name.
class Stranger : public GameObj {
public:
    Stranger(const char* type, float x0, float y0, float x1, float y1) : type_(type) {
        renderable = new BoxRenderable;
        BoxSet(renderable->corners, x0, y0, x1, y1);
    }
    const char* GetType() override { return type_; }

private:
    const char* type_;
};

// Puts a stranger into the manager's list so that it takes part in overlap tests.
inline Stranger* AddStranger(const char* type, float x0, float y0, float x1, float y1) {
    Stranger* s = new Stranger(type, x0, y0, x1, y1);
    goManager.objects.PushBack(s);
    return s;
}

inline bool Listed(const GameObj* o) {
    return goManager.objects.Find(const_cast<GameObj*>(o)) != nullptr;
}

inline int CountOfType(const char* type) {
    int n = 0;
    for (auto* node = goManager.objects.Head(); node; node = node->next)
        if (std::strcmp(node->value->GetType(), type) == 0) ++n;
    return n;
}

inline std::vector<std::string> ReadLog() {
    std::ifstream in(GOManager::kLogName);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline int CountLines(const std::vector<std::string>& lines, const std::string& text) {
    int n = 0;
    for (const std::string& l : lines)
        if (l == text) ++n;
    return n;
}

inline void Frames(int n) {
    for (int i = 0; i < n; ++i) goManager.Update(kDt);
}

// Every test starts from an empty manager with a fresh log and a fixed random sequence.
class WeatherTest : public ::testing::Test {
protected:
    void SetUp() override {
        goManager.Clear();
        goManager.ReopenLog();
        SRand(20240611u);
    }
    void TearDown() override { goManager.Clear(); }
};

}  // namespace weather
