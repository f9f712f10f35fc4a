#include "ui/RecordsScroll.h"

#include <string>

#include "Culler.h"
#include "Orlop.h"
#include "Sprite.h"
#include "ui/Plank.h"
#include "ui/UIButton.h"

namespace {

const float kInk[4] = {0.28f, 0.16f, 0.06f, 1.0f};
const Vec2 kRowScale(0.5f, 0.5f);
constexpr float kFirstRowY = 200.0f;
constexpr float kRowStep = 44.0f;
// Left edge of the row names and centres of the two columns.
constexpr float kNameX = 150.0f;
constexpr float kNameWidth = 250.0f;
constexpr float kLastX = 475.0f;
constexpr float kBestX = 595.0f;
constexpr float kColumnWidth = 110.0f;

}  // namespace

RecordsScroll::~RecordsScroll() { delete scroll_; }

void RecordsScroll::Init() {
    // The scroll's texts are aids': spaced in proportion to their size.
    ink_ = LoadGameFont("images\\caribbeanfont.tga").Proportional();
    wood_ = LoadGameFont("images\\caribbeanfont_wood.tga").Proportional();
    scroll_ = new Sprite(1, 1, "Images\\scroll.tga");
    scroll_->screenSpace = true;
    scroll_->blendMode = BlendMode::kAlpha;
    // As the options' scroll: behind the buttons on it.
    scroll_->scale = Vec2(1.1f, 1.15f);
    scroll_->position = Vec2(400.0f, 300.0f);
    scroll_->SetDepth(Culler::kCoverDepth);
    scroll_->aboveWorld = 1;
    scroll_->UpdateCorners();
    RemoveFromRenderList(scroll_);
    back_.Init(wood_, Vec2(400.0f, 520.0f), Vec2(0.6f, 0.7f), Vec2(0.6f, 0.6f));
    back_.label = "Back";
}

void RecordsScroll::Open() {
    open_ = true;
    if (scroll_) AddToRenderList(scroll_);
    back_.Show();
}

void RecordsScroll::Close() {
    open_ = false;
    if (scroll_) RemoveFromRenderList(scroll_);
    back_.Hide();
}

const Vec2* RecordsScroll::Paper() const { return scroll_ ? scroll_->corners : nullptr; }

std::string RecordsScroll::Clock(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    auto two = [](int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return h > 0 ? std::to_string(h) + ":" + two(m) + ":" + two(s) : std::to_string(m) + ":" + two(s);
}

void RecordsScroll::DrawTexts(const GameRecord& last, const GameRecord& best) {
    const Vec2 titleScale(1.0f, 1.0f);
    wood_.DrawText(static_cast<int>(400.0f - wood_.InkWidth("Records", titleScale) * 0.5f), 50, 1.0f, "Records", kInk,
                   titleScale);
    auto cell = [this](const std::string& text, float centre, float y) {
        const Vec2 scale = Plank::FitText(ink_, text.c_str(), kRowScale, kColumnWidth);
        ink_.DrawText(static_cast<int>(centre - ink_.InkWidth(text.c_str(), scale) * 0.5f), static_cast<int>(y), 1.0f,
                      text.c_str(), kInk, scale);
    };
    const float headY = kFirstRowY - kRowStep * 1.2f;
    cell("Last", kLastX, headY);
    cell("Best", kBestX, headY);
    const char* names[] = {"Level reached", "Towers taken", "Ships sunk", "Gold gathered", "Time played",
                           "Towers lost"};
    const GameRecord* columns[2] = {&last, &best};
    // One size for every name: that of the longest.
    Vec2 nameScale = kRowScale;
    for (const char* name : names) nameScale = Plank::FitText(ink_, name, nameScale, kNameWidth);
    for (int row = 0; row < 6; ++row) {
        const float y = kFirstRowY + kRowStep * static_cast<float>(row);
        ink_.DrawText(static_cast<int>(kNameX), static_cast<int>(y), 1.0f, names[row], kInk, nameScale);
        for (int c = 0; c < 2; ++c) {
            const GameRecord& r = *columns[c];
            std::string text = "-";
            if (r.Played()) {
                switch (row) {
                    case 0: text = std::to_string(r.level); break;
                    case 1: text = std::to_string(r.towers); break;
                    case 2: text = std::to_string(r.ships); break;
                    case 3: text = std::to_string(r.gold); break;
                    case 4: text = Clock(r.seconds); break;
                    // The most lost in a game is no best: the best column has none.
                    default: text = c == 0 ? std::to_string(r.lost) : "-"; break;
                }
            }
            cell(text, c == 0 ? kLastX : kBestX, y);
        }
    }
}

bool RecordsScroll::Update(const GameRecord& last, const GameRecord& best) {
    if (!open_) return false;
    DrawTexts(last, best);
    back_.Draw();
    if (orlop.Released(VK_ESCAPE) || back_.Clicked()) return false;
    return true;
}
