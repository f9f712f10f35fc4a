#include "defences/FireBall.h"

#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/Fire.h"

void FireBall::Init() {
    MakeSprite("images\\fireball.tga");
    renderable->scale = Vec2(0.5f, 0.5f);
    renderable->UpdateCorners();
    fire = static_cast<Fire*>(goManager.Create("Fire"));
    if (fire) {
        fire->Init();
        fire->noCollide = 1;
    }
    // Only the flames are seen, not the ball's own sprite.
    AddToRenderList(renderable);
    RemoveFromRenderList(renderable);
}

void FireBall::Collide(GameObj* other) { (void)other; }

void FireBall::Update(float dt) {
    if (renderable) {
        Move((heading * 30.0f) * dt);
        renderable->rotation += dt * 500.0f;
        if (fire) fire->SetPosition(renderable->position);
    }
    BaseStep(dt);
}

void FireBall::Kill() {
    if (fire) goManager.QueueForDeletion(fire);
    fire = nullptr;
    RemoveFromRenderList(renderable);
}

GameObj* MakeFireBall() { return new FireBall; }
