#include "ui/OptionsScreen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Box.h"
#include "Culler.h"
#include "KeyNames.h"
#include "Orlop.h"
#include "Renderable.h"
#include "Report.h"
#include "objects/GOManager.h"
#include "store/SettingsApplier.h"
#include "ui/Plank.h"
#include "ui/UIButton.h"

namespace {

const char* const kButtonImage = "images\\ui_button_wood.tga";
const char* const kScrollImage = "Images\\scroll.tga";
const char* const kWoodFont = "images\\caribbeanfont_wood.tga";
const char* const kScrollFont = "images\\caribbeanfont.tga";

// Picture pixels: labels start at kLabelX, the value buttons are centred on kValueX,
// one row every kRowStep from kFirstRowY.
constexpr int kLabelX = 140;
constexpr float kValueX = 540.0f;
constexpr float kFirstRowY = 132.0f;
constexpr float kRowStep = 38.0f;
constexpr float kBackY = 520.0f;
constexpr int kMessageY = 96;  // between the title and the first row
constexpr float kTitleCentreX = 380.0f;
// Pixels from the scroll's side to the edge of its paper, at the screen's scale.
constexpr float kPaperEdge = 56.0f;
const Vec2 kLabelScale(0.5f, 0.5f);
const Vec2 kValueTextScale(0.5f, 0.5f);
const Vec2 kValueScale(0.55f, 0.6f);
const Vec2 kStepScale(0.18f, 0.6f);
// The wooden button's picture, in pixels.
constexpr float kButtonWidth = 280.0f;

const float kInk[4] = {0.28f, 0.16f, 0.06f, 1.0f};
const float kWarning[4] = {0.7f, 0.1f, 0.1f, 1.0f};
const float kPlain[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kLit[4] = {1.0f, 0.85f, 0.55f, 1.0f};

bool ClickedOn(UIButton* button) {
    return button && orlop.Released(MouseButton::kLeft) && BoxContains(button->GetCorners(), orlop.mousePosition);
}

// Under the keys, a little lower than the other rows to leave the scroll's edge clear.
constexpr int kVsyncRow = 3 + Settings::kActionCount;
const Vec2 kVsyncScale(0.55f, 0.5f);

float RowY(int row) { return kFirstRowY + kRowStep * static_cast<float>(row); }

}  // namespace

void OptionsScreen::Unmanaged::operator()(UIButton* button) const {
    button->Kill();
    delete button;
}

UIButton* OptionsScreen::MakeButton(const char* label, Vec2 position, Vec2 scale, UIButton* unmanaged) {
    auto* button = unmanaged ? unmanaged : static_cast<UIButton*>(goManager.Create("UIButton"));
    if (!button) return nullptr;
    button->MakeSprite(kButtonImage);
    // No font of its own: the screen centres the label itself (DrawTexts), by its width
    // as drawn at this scale.
    button->renderable->scale = scale;
    button->textScale = kValueTextScale;
    button->SetPosition(position);
    button->SetLabel(label);
    button->Init();
    RemoveFromRenderList(button->renderable);
    // Nothing in the world may meet the screen's pieces, shown or not, nor draw over them.
    button->noCollide = 1;
    button->renderable->aboveWorld = 1;
    return button;
}

void OptionsScreen::SetUp() {
    // The screen's texts are aids': spaced in proportion to their size.
    font_ = LoadGameFont(kWoodFont).Proportional();
    labelFont_ = LoadGameFont(kScrollFont).Proportional();

    scroll_ = static_cast<UIButton*>(goManager.Create("UIButton"));
    if (scroll_) {
        scroll_->MakeSprite(kScrollImage);
        scroll_->Init();
        // Behind the buttons on it.
        scroll_->renderable->SetDepth(Culler::kCoverDepth);
        scroll_->renderable->scale = Vec2(1.1f, 1.15f);
        scroll_->SetPosition(Vec2(400.0f, 300.0f));
        RemoveFromRenderList(scroll_->renderable);
        scroll_->noCollide = 1;
        scroll_->renderable->aboveWorld = 1;
    }
    const float stepOffset = 70.0f;
    musicDown_ = MakeButton("-", Vec2(kValueX - stepOffset, RowY(0)), kStepScale);
    musicUp_ = MakeButton("+", Vec2(kValueX + stepOffset, RowY(0)), kStepScale);
    effectsDown_ = MakeButton("-", Vec2(kValueX - stepOffset, RowY(1)), kStepScale);
    effectsUp_ = MakeButton("+", Vec2(kValueX + stepOffset, RowY(1)), kStepScale);
    fullscreen_ = MakeButton("", Vec2(kValueX, RowY(2)), kValueScale);
    for (int a = 0; a < Settings::kActionCount; ++a)
        keys_[a] = MakeButton("", Vec2(kValueX, RowY(3 + a)), kValueScale);
    // Kept out of the object manager: every object there counts in the state digest,
    // which recordings made before this button existed must still match.
    vsync_.reset(new UIButton);
    MakeButton("", Vec2(kValueX, RowY(kVsyncRow)), kVsyncScale, vsync_.get());
    back_ = MakeButton("Back", Vec2(400.0f, kBackY), Vec2(0.5f, 0.7f));
    if (back_) back_->textScale = Vec2(0.6f, 0.6f);

    // Wide enough for "Rumble Off" clear of the nails.
    hints_.Init(font_, Vec2(205.0f, kBackY), Vec2(0.76f, 0.7f), Vec2(0.5f, 0.5f));
    rumble_.Init(font_, Vec2(595.0f, kBackY), Vec2(0.76f, 0.7f), Vec2(0.5f, 0.5f));
    records_.Init(font_, Vec2(615.0f, 72.0f), Vec2(0.55f, 0.6f), Vec2(0.5f, 0.5f));
    records_.label = "Records";
    safeRespawn_.Init(font_, Vec2(160.0f, 72.0f), Vec2(0.9f, 0.6f), Vec2(0.45f, 0.45f));

    // Null stands for the screen's own buttons (see FocusPoint): Records (then Safe
    // respawn) above the rows, Hints and Rumble either side of Back.
    PadFocus::Rows rows = {{nullptr, nullptr}, {musicDown_, musicUp_}, {effectsDown_, effectsUp_}, {fullscreen_}};
    for (UIButton* key : keys_) rows.push_back({key});
    rows.push_back({vsync_.get()});
    rows.push_back({nullptr, back_, nullptr});
    focus_.SetRows(std::move(rows));
    WriteLabels();
}

void OptionsScreen::Use(const Settings& settings, const std::string& path, bool keep) {
    settings_ = settings;
    path_ = path;
    keep_ = keep;
    WriteLabels();
}

void OptionsScreen::Change(const Settings& next) {
    if (next == settings_) return;
    const Settings before = settings_;
    settings_ = next;
    if (std::memcmp(before.keys, next.keys, sizeof next.keys) != 0) SettingsApplier::ApplyKeys(next);
    if (before.musicVolume != next.musicVolume || before.effectsVolume != next.effectsVolume)
        SettingsApplier::ApplySound(next);
    if (before.fullscreen != next.fullscreen && orlop.platform) orlop.platform->SetFullscreen(next.fullscreen);
    if (before.vsync != next.vsync) orlop.SetVsync(next.vsync);
    WriteLabels();
    if (!keep_ || path_.empty()) return;
    std::string error;
    if (!next.Save(path_, error)) {
        // Said once: the rest of the run keeps its settings without trying again.
        Report(error + "; the settings are kept in memory for this run only");
        keep_ = false;
        message_ = "The settings could not be saved";
    }
}

void OptionsScreen::WriteLabels() {
    if (fullscreen_) {
        // The window may have been toggled with F11 since.
        const bool on = orlop.platform ? orlop.platform->IsFullscreen() : settings_.fullscreen;
        fullscreen_->SetLabel(on ? "On" : "Off");
    }
    if (vsync_) vsync_->SetLabel(orlop.vsync == Vsync::kOn ? "On" : orlop.vsync == Vsync::kOff ? "Off" : "Auto");
    for (int a = 0; a < Settings::kActionCount; ++a)
        if (keys_[a]) keys_[a]->SetLabel(a == capturing_ ? "..." : KeyLabel(font_, settings_.keys[a]));
    hints_.label = settings_.hints ? "Hints On" : "Hints Off";
    rumble_.label = settings_.rumble ? "Rumble On" : "Rumble Off";
    safeRespawn_.label = settings_.safeRespawn ? "Safe respawn On" : "Safe respawn Off";
}

bool OptionsScreen::FitsKeyButton(const Font& font, const std::string& label) {
    const float width = kValueScale.x * kButtonWidth;
    return font.InkWidth(label.c_str(), kValueTextScale) <= Plank::TextRoom(width, kValueScale.x);
}

std::string OptionsScreen::KeyLabel(const Font& font, uint32_t vk) {
    const std::string name = KeyNames::Name(vk);
    return FitsKeyButton(font, name) ? name : KeyNames::ShortName(vk);
}

float OptionsScreen::LabelRoom(const UIButton* button) {
    Renderable* face = button->renderable;
    return Plank::TextRoom(face->scale.x * face->GetWidth(), face->scale.x);
}

void OptionsScreen::Open() {
    open_ = true;
    capturing_ = -1;
    message_.clear();
    focus_.Reset();
    recordsAsked_ = false;
    WriteLabels();
    for (ScreenButton* button : {&hints_, &rumble_, &records_, &safeRespawn_}) button->Show();
    if (scroll_) AddToRenderList(scroll_->renderable);
    for (const auto& row : focus_.rows())
        for (UIButton* button : row)
            if (button) AddToRenderList(button->renderable);
}

void OptionsScreen::Close() {
    open_ = false;
    capturing_ = -1;
    for (ScreenButton* button : {&hints_, &rumble_, &records_, &safeRespawn_}) button->Hide();
    if (scroll_) RemoveFromRenderList(scroll_->renderable);
    for (const auto& row : focus_.rows())
        for (UIButton* button : row)
            if (button) RemoveFromRenderList(button->renderable);
}

void OptionsScreen::Capture() {
    // A click anywhere, or Escape, keeps the old key, and what was said about it goes.
    if (orlop.Released(MouseButton::kLeft) || orlop.Released(VK_ESCAPE)) {
        capturing_ = -1;
        message_.clear();
        WriteLabels();
        return;
    }
    // Taken on its release, as the game takes every key.
    if (!orlop.keyEvent || orlop.lastKeyDown) return;
    const uint32_t key = orlop.lastKey;
    // A pad's buttons keep their own places: they neither bind nor cancel.
    if (IsPadKey(key)) return;
    if (!Settings::Bindable(key)) {
        message_ = "That key cannot be used";
        return;
    }
    const int other = settings_.ActionUsing(key, capturing_);
    if (other >= 0) {
        message_ = KeyNames::Name(key) + " is taken by " + Settings::kActionLabels[other];
        return;
    }
    Settings next = settings_;
    next.keys[capturing_] = key;
    capturing_ = -1;
    message_.clear();
    Change(next);
    WriteLabels();
}

void OptionsScreen::Press(UIButton* button) {
    Settings next = settings_;
    auto step = [](int& volume, int by) { volume = std::clamp(volume + by, 0, Settings::kMaxVolume); };
    if (button == musicDown_) step(next.musicVolume, -1);
    else if (button == musicUp_) step(next.musicVolume, 1);
    else if (button == effectsDown_) step(next.effectsVolume, -1);
    else if (button == effectsUp_) step(next.effectsVolume, 1);
    else if (button == fullscreen_) {
        next.fullscreen = !(orlop.platform ? orlop.platform->IsFullscreen() : settings_.fullscreen);
        // Toggled with F11 since: the setting follows what the player sees.
        settings_.fullscreen = !next.fullscreen;
    } else if (button == vsync_.get()) {
        // Auto, On, Off in turn, from what is in force (the command line may have chosen).
        next.vsync = orlop.vsync == Vsync::kAuto ? Vsync::kOn : orlop.vsync == Vsync::kOn ? Vsync::kOff : Vsync::kAuto;
        settings_.vsync = orlop.vsync;
    }
    for (int a = 0; a < Settings::kActionCount; ++a) {
        if (button != keys_[a]) continue;
        capturing_ = a;
        message_ = std::string("Press a key for ") + Settings::kActionLabels[a];
        WriteLabels();
        return;
    }
    message_.clear();
    Change(next);
}

Vec2 OptionsScreen::FocusPoint(int row, int column) const {
    if (row == 0) return column == 0 ? records_.Centre() : safeRespawn_.Centre();
    return column == 0 ? hints_.Centre() : rumble_.Centre();
}

const Renderable* OptionsScreen::Scroll() const { return scroll_ ? scroll_->renderable : nullptr; }

void OptionsScreen::DrawTexts() {
    // Centred left of the Records button, well clear of it.
    const char* title = "Options";
    const Vec2 titleScale(1.0f, 1.0f);
    font_.DrawText(static_cast<int>(kTitleCentreX - font_.InkWidth(title, titleScale) * 0.5f), 50, 1.0f, title, kInk,
                   titleScale);
    const char* labels[] = {"Music", "Effects", "Full screen"};
    for (int row = 0; row <= kVsyncRow; ++row) {
        const char* text = row == kVsyncRow ? "Vsync" : row < 3 ? labels[row] : Settings::kActionLabels[row - 3];
        labelFont_.DrawText(kLabelX, static_cast<int>(RowY(row) - 11.0f), 1.0f, text, kInk, kLabelScale);
    }
    for (int row = 0; row < 2; ++row) {
        const int volume = row == 0 ? settings_.musicVolume : settings_.effectsVolume;
        const std::string value = std::to_string(volume);
        labelFont_.DrawText(static_cast<int>(kValueX - labelFont_.InkWidth(value.c_str(), kLabelScale) * 0.5f),
                            static_cast<int>(RowY(row) - 11.0f), 1.0f, value.c_str(), kInk, kLabelScale);
    }
    for (const auto& row : focus_.rows())
        for (UIButton* button : row) {
            if (!button) continue;
            // Centred by its ink, clear of the nails.
            const Vec2 centre = BoxCentre(button->GetCorners());
            const Vec2 scale = Plank::FitText(font_, button->label.c_str(), button->textScale, LabelRoom(button));
            const float width = font_.InkWidth(button->label.c_str(), scale);
            const float height = font_.InkHeight(scale);
            font_.DrawText(static_cast<int>(centre.x - width * 0.5f), static_cast<int>(centre.y - height * 0.5f), 1.0f,
                           button->label.c_str(), button->textColour, scale);
        }
    if (!message_.empty()) {
        // A long message shrinks to stay on the paper, as far right as the rows reach.
        const float right = scroll_ ? scroll_->renderable->corners[kBottomRight].x - kPaperEdge : kValueX + 100.0f;
        const Vec2 scale = Plank::FitText(labelFont_, message_.c_str(), kLabelScale, right - kLabelX);
        labelFont_.DrawText(kLabelX, kMessageY, 1.0f, message_.c_str(), kWarning, scale);
    }
}

bool OptionsScreen::Update() {
    if (!open_) return false;
    // The cursor's button is lit, the others plain.
    for (const auto& row : focus_.rows())
        for (UIButton* button : row) {
            if (!button) continue;
            const bool lit = BoxContains(button->GetCorners(), orlop.mousePosition);
            std::memcpy(button->renderable->colour, lit ? kLit : kPlain, sizeof kPlain);
        }
    DrawTexts();
    for (ScreenButton* button : {&hints_, &rumble_, &records_, &safeRespawn_}) button->Draw();

    focus_.Follow([this](int row, int column) { return FocusPoint(row, column); });

    if (capturing_ >= 0) {
        Capture();
        return true;
    }
    if (orlop.Released(VK_ESCAPE)) return false;
    if (ClickedOn(back_)) return false;
    if (records_.Clicked()) {
        recordsAsked_ = true;
        return false;
    }
    if (hints_.Clicked() || rumble_.Clicked() || safeRespawn_.Clicked()) {
        Settings next = settings_;
        bool& on = hints_.Clicked() ? next.hints : rumble_.Clicked() ? next.rumble : next.safeRespawn;
        on = !on;
        message_.clear();
        Change(next);
        return true;
    }
    for (const auto& row : focus_.rows())
        for (UIButton* button : row)
            if (button != back_ && ClickedOn(button)) {
                Press(button);
                return true;
            }
    return true;
}
