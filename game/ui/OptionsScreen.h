#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Font.h"
#include "Vec2.h"
#include "store/Settings.h"
#include "ui/PadFocus.h"
#include "ui/ScreenButton.h"

class Renderable;
class UIButton;

// The options chosen from the menu: the volumes, full screen and the keys of the
// actions, shown on a scroll over the sea. Every change takes effect at once and is
// written to the settings file. The mouse presses the wooden buttons; a pad's d-pad
// moves the cursor from button to button and its A presses.
class OptionsScreen {
public:
    // Makes the scroll and the buttons, hidden.
    void SetUp();
    // The settings in effect and the file they are kept in (never written when `keep`
    // is false, as in a replay, or when the path is empty).
    void Use(const Settings& settings, const std::string& path, bool keep);
    const Settings& Current() const { return settings_; }
    // The file the settings are still written to; empty when they are not (a replay, a
    // file the game must not write over, a save that failed).
    std::string KeptAt() const { return keep_ ? path_ : std::string(); }

    void Open();
    void Close();
    bool IsOpen() const { return open_; }
    // One frame of the open screen; false once the player backs out (Back, Escape) or
    // asks for the records (RecordsAsked).
    bool Update();
    bool RecordsAsked() const { return recordsAsked_; }
    // Puts settings into effect and keeps them, as a change on the screen does.
    void Keep(const Settings& next) { Change(next); }

    // What a key's button says in `font` (the screen's, spaced in proportion): its name,
    // or its short name where the name does not fit between the button's nails.
    static std::string KeyLabel(const Font& font, uint32_t vk);
    // Whether a label fits a key's button in `font`.
    static bool FitsKeyButton(const Font& font, const std::string& label);

    // The action waiting for its new key, or -1.
    int Capturing() const { return capturing_; }
    // What the screen says under the controls (a key refused, a file not written).
    const std::string& Message() const { return message_; }
    // The scroll's face (for where its texts may go), or null before SetUp.
    const Renderable* Scroll() const;

private:
    // Applies what differs and writes the file.
    void Change(const Settings& next);
    void Capture();
    void Press(UIButton* button);
    void WriteLabels();
    // Room for a button's label between its nails.
    static float LabelRoom(const UIButton* button);
    void DrawTexts();
    UIButton* MakeButton(const char* label, Vec2 position, Vec2 scale, UIButton* unmanaged = nullptr);
    // Where a pad's d-pad puts the cursor for a null place of the rows.
    Vec2 FocusPoint(int row, int column) const;

    Settings settings_;
    std::string path_;
    bool keep_ = false;
    bool open_ = false;
    int capturing_ = -1;
    std::string message_;
    Font font_;
    Font labelFont_;

    UIButton* scroll_ = nullptr;
    UIButton* musicDown_ = nullptr;
    UIButton* musicUp_ = nullptr;
    UIButton* effectsDown_ = nullptr;
    UIButton* effectsUp_ = nullptr;
    UIButton* fullscreen_ = nullptr;
    UIButton* keys_[Settings::kActionCount] = {};
    // Owned here, outside the object manager (see SetUp).
    struct Unmanaged {
        void operator()(UIButton* button) const;
    };
    std::unique_ptr<UIButton, Unmanaged> vsync_;
    UIButton* back_ = nullptr;
    // On the bottom roll beside Back, and at the top: switches and a door that are no
    // objects of the game.
    ScreenButton hints_;
    ScreenButton rumble_;
    ScreenButton records_;
    // "Safe respawn On/Off", top left across from Records.
    ScreenButton safeRespawn_;
    bool recordsAsked_ = false;
    // The buttons' rows, which a pad's d-pad steps through.
    PadFocus focus_;
};
