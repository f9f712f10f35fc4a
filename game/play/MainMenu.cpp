#include "play/MainMenu.h"

#include "Box.h"
#include "Orlop.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "play/PlayerInput.h"
#include "ui/MenuButton.h"
#include "ui/Plank.h"

MenuButton* MainMenu::MakeButton(const char* label, float y) {
    MenuButton* button = static_cast<MenuButton*>(goManager.Create("MenuButton"));
    button->MakeSprite(Plank::kImage);
    button->font = LoadGameFont(Plank::kFontImage);
    button->SetLabel(label);
    button->SetPosition(Vec2(200.0f, y));
    button->Init();
    return button;
}

void MainMenu::MakeButtons() {
    playButton = MakeButton("Play!", 200.0f);
    // Between the other two, which moves "Quit" one step lower.
    optionsButton = MakeButton("Options", 270.0f);
    quitButton = MakeButton("Quit", 340.0f);
    // Null: the records button, which is no object of the game.
    focus_.SetRows({{playButton}, {optionsButton}, {quitButton}, {nullptr}});
}

void MainMenu::InitPlanks() {
    recordsButton_.Init(font_, Vec2(200.0f, 410.0f), Vec2(0.7f, 0.8f), Vec2(0.6f, 0.6f));
    recordsButton_.label = "Records";
    // Under the buttons, on a long plank so the line reads over the waves; as long as
    // the line needs (FitFace).
    bestPlank_.Init(font_, Vec2(232.0f, 464.0f), Vec2(kBestScaleX, 0.6f), Vec2(0.5f, 0.5f));
    bestPlank_.reactive = false;
}

void MainMenu::Show(const std::string& bestLine) {
    AddToRenderList(playButton->renderable);
    AddToRenderList(optionsButton->renderable);
    AddToRenderList(quitButton->renderable);
    recordsButton_.Show();
    bestPlank_.label = bestLine;
    if (bestPlank_.label.empty()) {
        bestPlank_.Hide();
    } else {
        // Its left end stays where it was, the plank growing to the right.
        const float left = bestPlank_.Corners()[kTopLeft].x;
        bestPlank_.FitFace(kBestScaleX);
        const float half = (bestPlank_.Corners()[kBottomRight].x - bestPlank_.Corners()[kTopLeft].x) * 0.5f;
        bestPlank_.MoveTo(Vec2(left + half, bestPlank_.Centre().y));
        bestPlank_.Show();
    }
}

void MainMenu::Draw() {
    const float titleColour[4] = {0.9f, 0.9f, 0.5f, 1.0f};
    font_.DrawText(50, 75, 1.0f, "Brinegate", titleColour, Vec2(1.3f, 1.3f));
    recordsButton_.Draw();
    bestPlank_.Draw();
}

void MainMenu::Hide() {
    RemoveFromRenderList(playButton->renderable);
    RemoveFromRenderList(optionsButton->renderable);
    RemoveFromRenderList(quitButton->renderable);
    recordsButton_.Hide();
    bestPlank_.Hide();
}

void MainMenu::FollowPad() {
    focus_.Follow([this](int, int) { return recordsButton_.Centre(); });
}

void MainMenu::PressClicked() {
    for (MenuButton* button : {playButton, optionsButton, quitButton}) {
        if (orlop.Released(MouseButton::kLeft) && BoxContains(button->GetCorners(), orlop.mousePosition))
            button->SetState(MenuButton::Phase::kFalling);
    }
}
