#pragma once

#include <string>

#include "Font.h"
#include "objects/GameObj.h"

// A window-pixel face (the renderable, made by the creator with MakeSprite) with a
// one-line label centred on it, drawn at once in the draw pass.
class UIButton : public GameObj {
public:
    const char* GetType() override { return "UIButton"; }
    void Update(float dt) override;
    void Init() override;
    // The label centred on the face, when there is one and the face is shown.
    void Draw() override;

    void SetLabel(std::string text);

    Vec2 textScale{1.0f, 1.0f};
    std::string label;
    Font font;
    float textWidth = 1.0f;  // pixels, as last drawn (a placed label centres by it)
    float textColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Pixels kept clear at each end of the face; from 0 up the label is shrunk (never
    // grown) to fit between them and centred by its ink. Below 0 it is placed as it
    // always was, and may run over the face.
    float fitMargin = -1.0f;
    // Pixels the face reaches right of its own sprite (another sprite lengthening it),
    // for a fitted label.
    float faceExtra = 0.0f;
};

// Loads a font image as every text of the game does: unmipmapped, 63 x 42 cells.
Font LoadGameFont(const std::string& imageName);
