#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "Box.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"

namespace weather {

constexpr float kDt = kFrameStep;

// Any other game object, known only by its type name and box.
class Stranger : public GameObj {
public:
    Stranger(const char* type, float x0, float y0, float x1, float y1) : type_(type) {
        struct Box : Renderable {
            float GetWidth() override { return 0.0f; }
            float GetHeight() override { return 0.0f; }
        };
        renderable = new Box;
        BoxSet(renderable->corners, x0, y0, x1, y1);
    }
    const char* GetType() override { return type_; }

private:
    const char* type_;
};

inline bool Listed(GameObj* o) { return goManager.objects.Find(o) != nullptr; }

inline int CountOfType(const char* type) {
    int n = 0;
    for (auto* node = goManager.objects.Head(); node; node = node->next)
        n += std::strcmp(node->value->GetType(), type) == 0;
    return n;
}

inline int LogCount(const std::string& text) {
    std::ifstream in(GOManager::kLogName);
    int n = 0;
    for (std::string line; std::getline(in, line);) n += line == text;
    return n;
}

inline void Frames(int n) {
    for (int i = 0; i < n; ++i) goManager.Update(kDt);
}

// Each test starts from an empty manager, a fresh log and a fixed random sequence.
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
