// The profile screen's frame: the title picture, the options window's panel,
// the page of the current state, the sparks and the cursor.
#include "core/mouse.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "profiles/profile_links.h"
#include "profiles/profile_screen.h"
#include "ui/spark.h"

namespace {

plat::ImagePtr Linked(const std::function<plat::ImagePtr()>& link) { return link ? link() : nullptr; }

void DrawTexts(std::initializer_list<TTextPtr> texts) {
    for (const TTextPtr& t : texts)
        if (t) t->Draw();
}

// The dialogs' lines stand centred on the panel, as the name and Ok do,
// whatever their length.
void DrawCentred(std::initializer_list<TTextPtr> texts) {
    for (const TTextPtr& t : texts)
        if (t) {
            t->dim->x = 400.0f - t->Width() / 2.0f;
            t->Draw();
        }
}

// Where the dialogs' panel and the name field stand.
constexpr float kDialogTop = 238.0f;
constexpr float kFieldMiddleY = 343.0f;

}  // namespace

int TProfileLoader::Draw() {
    DrawPage();
    plat::Flip(-1);
    plat::PollSystem();
    return 0;
}

int TProfileLoader::DrawPage() {
    plat::Cls();
    plat::SetBlend(3);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
    if (plat::ImagePtr title = Linked(profileLinks.titleImage)) plat::DrawImage(title, 0, 0);
    if (state == 5) {
        fadeAlpha += 0.02f;
        if (fadeAlpha > 1.0f) fadeAlpha = 1.0f;
        plat::SetAlpha(fadeAlpha);
        for (const TTextPtr& t : promptTexts)
            if (t) t->alpha = fadeAlpha;
    }
    // The list has the whole menu panel; a dialog a panel of its own size.
    if (state == 1 || !dialogPanel) {
        if (plat::ImagePtr panel = Linked(profileLinks.panelImage)) plat::DrawImage(panel, kPanelX, kPanelY);
    } else {
        plat::DrawImage(dialogPanel, 400.0f - static_cast<float>(plat::ImageWidth(dialogPanel)) / 2.0f, kDialogTop);
    }

    auto nameAndPrompt = [this](const TMenuPtr& menu) {
        if (nameField)
            plat::DrawImage(nameField, 400.0f - static_cast<float>(plat::ImageWidth(nameField)) / 2.0f,
                            kFieldMiddleY - static_cast<float>(plat::ImageHeight(nameField)) / 2.0f);
        menu->Draw(1.0f);
        plat::SetColor(255, 200, 200);
        DrawTexts({nameText});
        // The caret after the last letter, blinking twice a second.
        if (nameText && (plat::MilliSecs() / 500) % 2 == 0) {
            plat::SetColor(255, 214, 140);
            plat::DrawRect(nameText->dim->x + nameText->Width() + 3.0f, kFieldMiddleY - 10.0f, 2.0f, 19.0f);
        }
        plat::SetColor(255, 255, 255);
        DrawCentred({promptTexts[0], promptTexts[1]});
        if (nameExists != 0) DrawCentred({nameExistsText});
    };
    switch (state) {
        case 1: {
            listMenu->Draw(1.0f);
            const plat::ImagePtr bar = Linked(profileLinks.highlightImage);
            for (const TTextPtr& row : nameRows) {
                if (row->text == selectedName) {
                    plat::SetColor(255, 200, 200);
                    if (bar) {
                        plat::SetAlpha(0.25f);
                        plat::SetScale(row->Width() / static_cast<float>(plat::ImageWidth(bar)) * 1.25f, 0.35f);
                        plat::DrawImage(bar, 400, row->dim->y + 11.0f);
                        plat::SetAlpha(1);
                        plat::SetScale(1, 1);
                    }
                }
                row->Draw();
                plat::SetColor(255, 255, 255);
            }
            break;
        }
        case 2:
        case 3:
            nameAndPrompt(okCancelMenu);
            break;
        case 4:
            okCancelMenu->Draw(1.0f);
            plat::SetColor(255, 200, 200);
            DrawTexts({nameText});
            plat::SetColor(255, 255, 255);
            DrawCentred({deleteQuestionTexts[0], deleteQuestionTexts[1]});
            break;
        case 5:
            nameAndPrompt(okMenu);
            break;
        case 6:
            okMenu->Draw(1.0f);
            DrawCentred({lastProfileTexts[0], lastProfileTexts[1], lastProfileTexts[2]});
            break;
        case 7:
            okMenu->Draw(1.0f);
            DrawCentred({tooManyTexts[0], tooManyTexts[1], tooManyTexts[2]});
            break;
        default:
            break;
    }
    UpdateSparks();
    mouse->Draw();
    return 0;
}

int TProfileLoader::UpdateSparks() {
    // Every draw goes into a local first: the generator's order is part of
    // the look (and of what a test can replay).
    if (plat::Rand(0, 1) == 1) {
        const float size = static_cast<float>(plat::Rnd(0.3, 0.6));
        const int life = plat::Rand(20, 50);
        const int r = plat::Rand(150, 200), g = plat::Rand(100, 200), b = plat::Rand(100, 200);
        TSparkPtr s = TSpark::Create(sparkImages[0], 395, 46, size, life, r, g, b, 1, 0);
        const float vx = static_cast<float>(plat::Rnd(-0.5, 0.5));
        const float vy = static_cast<float>(plat::Rnd(-0.7, 0.2));
        s->setVelocity(vx, vy);
    }
    if (plat::Rand(0, 10) == 1) {
        int x, y;
        if (plat::Rand(0, 2) == 0) {
            x = plat::Rand(130, 225);
            y = plat::Rand(215, 475);
        } else {
            x = plat::Rand(570, 800);
            y = plat::Rand(170, 400);
        }
        const int image = plat::Rand(1, 3);
        const float size = static_cast<float>(plat::Rnd(0.3, 0.6));
        const int life = plat::Rand(50, 150);
        const int r = plat::Rand(100, 150), g = plat::Rand(100, 150), b = plat::Rand(150, 220);
        TSparkPtr s = TSpark::Create(sparkImages[static_cast<size_t>(image)], x, y, size, life, r, g, b, 1, 1);
        const float vx = static_cast<float>(plat::Rnd(-0.4, 0.4));
        const float vy = static_cast<float>(plat::Rnd(-0.4, 0.4));
        s->setVelocity(vx, vy);
    }
    {
        const int mx = mouse->x, my = mouse->y;
        const int x = mx + plat::Rand(-2, 2);
        const int y = my + plat::Rand(-2, 2);
        const float size = static_cast<float>(plat::Rnd(0.2, 0.6));
        const int life = plat::Rand(20, 50);
        const int r = plat::Rand(150, 200), g = plat::Rand(100, 200), b = plat::Rand(100, 200);
        TSparkPtr s = TSpark::Create(sparkImages[0], x, y, size, life, r, g, b, 1, 0);
        const float vx = static_cast<float>(plat::Rnd(-0.5, 0.5));
        const float vy = static_cast<float>(plat::Rnd(-0.5, 0.5));
        s->setVelocity(vx, vy);
    }
    TSpark::UpdateAll();
    return 0;
}
