// The profile screen's resources, its loop and its pages' input.
//
// Index: resources · the loop · one frame of input · rows · typing
#include "profiles/profile_screen.h"

#include <algorithm>

#include "core/mouse.h"
#include "core/options.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/app.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/quest_save.h"
#include "ui/button_image.h"

TProfileLoaderPtr profileLoader;

namespace {

constexpr int kReturn = 13;
constexpr int kEscape = 27;

TTextPtr MakeText(const std::string& text, float x, float y, const TFontPtr& font) {
    return CreateText(text, CreateDim(x, y, 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
}

int ProfileCount() { return profile->Count(); }
std::string CurrentName() { return profile->CurrentName(); }

}  // namespace

// ---- resources ---------------------------------------------------------------------------------

int TProfileLoader::Load() {
    font = fonts[0];
    struct Item {
        int id;
        const char* picture;
        float x, y;
    };
    // Two rows centred on x 400 with a word's gap between buttons, the lower
    // one ending well above the panel's inner border (near y 533) and the
    // upper one below the tenth name row.
    static const Item kList[] = {{1, "gfx/gui/profile-ok.png", 333, 474},
                                 {2, "gfx/gui/profile-cancel.png", 387, 474},
                                 {3, "gfx/gui/profile-new.png", 279, 501},
                                 {4, "gfx/gui/profile-rename.png", 348, 501},
                                 {5, "gfx/gui/profile-delete.png", 446, 501}};
    auto add = [](const TMenuPtr& menu, const TPictureSource& picture, int id, float x, float y) {
        menu->AddItem(CreateImageButton(picture, CreateDim(x, y, 0, 0, 0, 1, 1, 0), id, 1.0f, kHoverDarken));
    };
    for (const Item& it : kList) add(listMenu, std::string(it.picture), it.id, it.x, it.y);
    // The other pages' ok and cancel share the list page's pictures.
    auto picture = [this](int id) {
        TButtonPtr b = listMenu->GetItem(id);
        return b ? b->image : plat::ImagePtr();
    };
    add(okCancelMenu, picture(1), 1, 339, 380);
    add(okCancelMenu, picture(2), 2, 381, 380);
    add(okMenu, picture(1), 1, 381, 380);

    promptTexts[0] = MakeText("enter your", 306, 276, font);
    promptTexts[1] = MakeText("name", 361, 299, font);
    nameText = MakeText("", 400, 332, font);
    nameExistsText = MakeText("name exist", 319, 445, font);
    deleteQuestionTexts[0] = MakeText("do you really", 276, 276, font);
    deleteQuestionTexts[1] = MakeText("want delete", 305, 299, font);
    lastProfileTexts[0] = MakeText("you can not", 295, 276, font);
    lastProfileTexts[1] = MakeText("delete last", 302, 299, font);
    lastProfileTexts[2] = MakeText("profile", 339, 322, font);
    tooManyTexts[0] = MakeText("you can not", 295, 276, font);
    tooManyTexts[1] = MakeText("create more", 294, 299, font);
    tooManyTexts[2] = MakeText("profiles", 333, 322, font);
    dialogPanel = plat::LoadImage("gfx/gui/name-panel.png", -1);
    nameField = plat::LoadImage("gfx/gui/name-field.png", -1);
    return 0;
}

// ---- the loop ---------------------------------------------------------------------------------------

int TProfileLoader::show(int startState) {
    UpdateList();
    state = startState;
    if (startState != kFirstNamePage) selectedName = CurrentName();
    while (Update() == 0) {
        Draw();
        if (plat::AppTerminate()) plat::End();
    }
    // The click that closed the screen is not the title's to see.
    mouse->leftHit = 0;
    plat::FlushKeys();
    return 0;
}

// ---- one frame of input --------------------------------------------------------------------------------

void TProfileLoader::CentreNameText() {
    if (nameText) nameText->dim->x = 400.0f - nameText->Width() / 2.0f;
}

int TProfileLoader::OkCancelAnswer() {
    int answer = okCancelMenu->State();
    if (plat::KeyHit(kReturn) != 0) answer = 1;
    if (plat::KeyHit(kEscape) != 0) answer = 2;
    return answer;
}

namespace {

// The list page's buttons (okCancelMenu and okMenu reuse 1 and 2).
enum ListButton : int { kOkButton = 1, kCancelButton = 2, kNewButton = 3, kRenameButton = 4, kDeleteButton = 5 };

}  // namespace

// The pages run in this order within one frame, so a page the list opens
// reads its keys in the same frame, and a notice opened there can be
// answered at once by a key. A press acts on the page the player saw: once
// a press has changed the page, nothing later takes it, and the presses of
// the next moment (a double-click's second) are dropped.
int TProfileLoader::Update() {
    // The first player's page fades in: a press made before it is all there
    // waits for it (the others appear at once).
    const bool fadingIn = state == kFirstNamePage && fadeAlpha < 1.0f;
    mouse->fetchFor(fadingIn ? TMouse::Phase::kIn : TMouse::Phase::kShown);
    if (profileLinks.updateTitleMusic) profileLinks.updateTitleMusic();
    int close = 0;
    int shown = state;
    auto left = [&] {
        if (close == 0 && state == shown) return;
        LeavePageOnPress();
        shown = state;
    };
    if (state == kListPage) close = ListPage();
    left();
    switch (state) {
        case kNewNamePage: NewNamePage(); break;
        case kRenamePage: RenamePage(); break;
        case kDeletePage: DeletePage(); break;
        case kFirstNamePage:
            if (FirstNamePage()) close = 1;
            break;
        default: break;
    }
    left();
    if (state == kLastProfileNotice || state == kTooManyNotice) NoticePage();
    left();
    // The list reads no keys: whatever was typed before a frame that shows
    // it (on the list, or a key a page left unread) is dropped there, so a
    // name page the next click opens takes only the letters typed with
    // that click (a quick player, a slow frame), never an older key.
    if (state == kListPage) plat::FlushKeys();
    return close;
}

int TProfileLoader::ListPage() {
    // The buttons first: a click one of them takes never selects the row
    // under it, which would make the button act on a player the list
    // never highlighted.
    const int button = listMenu->State();
    if (button == 0 && FramePress()) {
        const int row = RowAt(static_cast<float>(mouse->x), static_cast<float>(mouse->y));
        if (row >= 0) selectedName = nameRows[static_cast<size_t>(row)]->text;
    }
    switch (button) {
        case kOkButton:
            profile->SelectProfile(selectedName);
            LoadProfile();
            options->SaveOptionsOnly();
            return 1;
        case kCancelButton:
            return 1;
        case kNewButton:
            if (static_cast<int>(nameRows.size()) >= kMaxProfiles) {
                state = kTooManyNotice;
            } else {
                state = kNewNamePage;
                nameText->text = "";
            }
            break;
        case kRenameButton:
            state = kRenamePage;
            nameText->text = selectedName;
            break;
        case kDeleteButton:
            if (ProfileCount() <= 1) {
                state = kLastProfileNotice;
            } else {
                state = kDeletePage;
                nameText->text = selectedName;
                CentreNameText();
                plat::FlushKeys();
            }
            break;
        default:
            break;
    }
    return 0;
}

void TProfileLoader::TypeName() {
    UpdateText();
    CentreNameText();
}

bool TProfileLoader::NameReady() const { return nameExists == 0 && !nameText->text.empty(); }

bool TProfileLoader::CreateAndPlay(const std::string& name, bool select) {
    const int made = CreateNewProfile(name);
    if (made == -1) nameExists = 1;
    if (made != 1) return false;
    if (select) profile->SelectProfile(name);
    LoadProfile();
    options->SaveOptionsOnly();
    return true;
}

void TProfileLoader::NewNamePage() {
    TypeName();
    const int answer = OkCancelAnswer();
    if (answer == 1 && NameReady()) {
        if (CreateAndPlay(nameText->text, true)) {
            UpdateList();
            selectedName = CurrentName();
            state = kListPage;
        }
    } else if (answer == 2) {
        state = kListPage;
    }
}

void TProfileLoader::RenamePage() {
    TypeName();
    const int answer = OkCancelAnswer();
    if (answer == 1 && NameReady()) {
        const std::string newName = nameText->text;
        if (newName == selectedName) {
            // Its own name: nothing to move, nothing to list again.
            state = kListPage;
        } else {
            const bool wasCurrent = CurrentName() == selectedName;
            const int renamed = profile->RenameProfile(selectedName, newName);
            if (renamed == -1) {
                // A file of that name lies in the folder already (a
                // profile not listed here): it is never replaced.
                nameExists = 1;
            } else {
                UpdateList();
                state = kListPage;
                selectedName = newName;
                if (wasCurrent) profile->SelectProfile(selectedName);
            }
        }
    } else if (answer == 2) {
        state = kListPage;
    }
}

void TProfileLoader::DeletePage() {
    const int answer = OkCancelAnswer();
    if (answer == 1 && ProfileCount() > 1) {
        profile->DeleteProfile(selectedName);
        UpdateList();
        state = kListPage;
        selectedName = CurrentName();
    } else if (answer == 2) {
        state = kListPage;
    }
}

// No way back from here: the game needs a player.
bool TProfileLoader::FirstNamePage() {
    TypeName();
    int answer = okMenu->State();
    if (plat::KeyHit(kReturn) != 0) answer = 1;
    if (answer == 0 || !NameReady()) return false;
    if (!CreateAndPlay(nameText->text, false)) return false;
    state = kListPage;
    return true;
}

void TProfileLoader::NoticePage() {
    if (plat::KeyHit(kReturn) != 0 || okMenu->State() != 0) state = kListPage;
}

// ---- rows -----------------------------------------------------------------------------------------------

int TProfileLoader::UpdateList() {
    nameRows.clear();
    const std::vector<std::string> names = profile->GetProfilesList();
    // At most the screen's own limit of rows: profiles past it (files put in
    // the folder by hand) are neither drawn nor hit-tested. That the boxes of
    // the rows shown end above the buttons is the rows' step (RowAt).
    const size_t shown = std::min(names.size(), static_cast<size_t>(kMaxProfiles));
    for (size_t i = 0; i < shown; ++i) {
        TTextPtr row = MakeText(names[i], 400, kFirstRowY + kRowStep * static_cast<float>(i), font);
        row->dim->x = 400.0f - row->Width() / 2.0f;
        nameRows.push_back(row);
    }
    return 0;
}

int TProfileLoader::RowAt(float x, float y) const {
    for (size_t i = 0; i < nameRows.size(); ++i) {
        const TTextPtr& row = nameRows[i];
        if (x > row->dim->x && x < row->dim->x + row->Width() && y > row->dim->y && y < row->dim->y + kRowStep)
            return static_cast<int>(i);
    }
    return -1;
}

// ---- typing -----------------------------------------------------------------------------------------------

// Every letter queued since the last frame, not one a frame: Return is read
// as a key hit in the same frame, and with one letter a frame a name typed
// quickly (or on a slow frame) was taken cut short.
int TProfileLoader::UpdateText() {
    std::string& text = nameText->text;
    bool recompute = false;
    for (int c = plat::GetChar(); c != 0; c = plat::GetChar()) {
        if (c == 8) {
            if (!text.empty()) {
                text.pop_back();
                recompute = true;
            }
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   (c == ' ' && !text.empty())) {
            if (static_cast<int>(text.size()) < maxNameLength) {
                text += static_cast<char>(c);
                for (char& ch : text)
                    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
            }
            recompute = true;
        }
    }
    if (recompute) {
        nameExists = 0;
        for (const TTextPtr& row : nameRows)
            if (row->text == text) nameExists = 1;
    }
    return 0;
}
