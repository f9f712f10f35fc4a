#include "ui/UIButton.h"

#include "Box.h"
#include "Renderable.h"
#include "Texture.h"
#include "TextureManager.h"
#include "objects/GameObjFactory.h"

Font LoadGameFont(const std::string& imageName) {
    Font font;
    textureManager.mipmaps = 0;
    font.texture = textureManager.GetTexture(imageName);
    textureManager.mipmaps = 1;
    font.textureWidth = static_cast<float>(font.texture->width);
    font.textureHeight = static_cast<float>(font.texture->height);
    font.glyphWidth = 63.0f;
    font.glyphHeight = 42.0f;
    return font;
}

void UIButton::Init() {
    renderable->screenSpace = true;
    renderable->SetDepth(0.9f);
    AddToRenderList(renderable);
}

void UIButton::SetLabel(std::string text) { label = std::move(text); }

void UIButton::Update(float dt) { BaseStep(dt); }

void UIButton::Draw() {
    // A button whose creator gave it no font has nothing to draw its label with.
    if (label.empty() || !renderable || !renderable->inRenderList || !font.texture) return;
    const Vec2* c = renderable->corners;
    const float faceWidth = renderable->scale.x * renderable->GetWidth();
    const float faceHeight = renderable->scale.y * renderable->GetHeight();
    if (fitMargin >= 0.0f) {
        const float width = faceWidth + faceExtra;
        const Vec2 scale = font.FitScale(label.c_str(), textScale, width - 2.0f * fitMargin);
        const float inkWidth = font.InkWidth(label.c_str(), scale);
        const float fx = (width - inkWidth) * 0.5f + c[kTopLeft].x;
        const float fy = (faceHeight - font.InkHeight(scale)) * 0.5f + c[kTopLeft].y;
        TextCorners box = font.DrawText(static_cast<int>(fx + 0.5f), static_cast<int>(fy + 0.5f), 1.0f,
                                        label.c_str(), textColour, scale);
        textWidth = box[kBottomRight].x - box[kTopLeft].x;
        return;
    }
    // Centred by the glyph cell as drawn, so a small label sits in the middle of its face too.
    float y = (faceHeight - font.glyphHeight * textScale.y) * 0.5f + c[kTopLeft].y;
    float x = (faceWidth - textWidth) * 0.5f + c[kTopLeft].x;
    if (c[kTopLeft].x > x) x = c[kTopLeft].x;
    TextCorners box = font.DrawText(static_cast<int>(x), static_cast<int>(y), 1.0f, label.c_str(),
                                    textColour, textScale);
    textWidth = box[kBottomRight].x - box[kTopLeft].x;
}

GameObj* MakeUIButton() { return new UIButton; }
