#include "RespawnWatch.h"

#include "play/Game.h"
#include "ships/MerchantShip.h"

void RespawnWatch::Watch(const Game& game) {
    ++frames_;
    const MerchantShip* ship = game.playerShip.Get();
    const uint64_t serial = ship ? ship->Serial() : 0;
    if (ship && serial != ship_) {
        if (ship_ != 0) {
            ++respawns;
            arrivals_.push_back({serial, frames_});
        }
        ship_ = serial;
    }
    if (ship && ship->state == Life::kSinking && counted_ != serial) {
        ++sinkings;
        counted_ = serial;
    }
    while (!arrivals_.empty() && frames_ - arrivals_.front().frame >= kJudgeFrames) {
        ++judged;
        const bool afloat = ship && serial == arrivals_.front().serial && ship->state != Life::kSinking &&
                            ship->state != Life::kDead;
        survived += afloat ? 1 : 0;
        arrivals_.pop_front();
    }
}
