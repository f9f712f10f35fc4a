#include "ui/MenuButton.h"

#include <cmath>
#include <cstring>

#include "Box.h"
#include "Camera.h"
#include "Orlop.h"
#include "Renderable.h"
#include "objects/GameObjFactory.h"
#include "sea/Water.h"

void MenuButton::Update(float dt) {
    UIButton::Update(dt);
    Renderable* face = renderable;
    if (state == Life::kNormal) {
        if (std::fabs(velocity.x) < 0.01f && hovered == 0) home = face->position;
        savedAlpha = face->colour[3];
        if (BoxContains(face->corners, orlop.mousePosition)) {
            Vec2 aim = home + Vec2(20.0f, 1.0f);
            velocity = (aim - face->position) * 10.0f;
            Move(velocity * dt);
            hovered = 1;
        } else {
            velocity = (home - face->position) * 10.0f;
            Move(velocity * dt);
            hovered = 0;
        }
    } else if (state == Phase::kFalling) {
        velocity.y += 850.0f * dt;
        face->position = face->position + velocity * dt;
        face->UpdateCorners();
    } else if (state == Phase::kFloating) {
        float worldX = camera.GetTopLeft().x + face->position.x;
        float slope = 0.0f;
        float y = water ? water->GetHeight(worldX, &slope) : face->position.y;
        SetPosition(Vec2(face->position.x, y));
        face->colour[3] -= dt;
        if (face->colour[3] < 0.0f) SetState(Phase::kReturning);
    } else if (state == Phase::kReturning) {
        SetState(Life::kNormal);
        SetPosition(home);
        velocity = Vec2(0.0f, 0.0f);
        face->colour[3] = savedAlpha;
    }
}

void MenuButton::Collide(GameObj* other) {
    if (std::strcmp(other->GetType(), "Water") != 0 || state != Phase::kFalling) return;
    water = static_cast<Water*>(other);
    water->Disturb(1.1f, camera.GetTopLeft().x + renderable->position.x);
    SetState(Phase::kFloating);
}

GameObj* MakeMenuButton() { return new MenuButton; }
