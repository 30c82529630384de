// The story player: one part of the illustrated story as a modal sequence
// between quest levels. The loading picture while the part loads, a
// cross-fade to the first page, then page after page (picture, frame, text,
// Skip and Next), turning by itself on each page's time until the player
// first clicks Next; one Next on the last page, Skip or Escape end it with
// a fade to black.
//
// Index: TStoryPlayer (resources, page state, steps) · showStory
#pragma once
#include <memory>

#include "core/music.h"
#include "platform/font.h"
#include "platform/image.h"
#include "story/story_part.h"
#include "story/story_text.h"

class TStoryPlayer {
public:
    static constexpr const char* kSong = "sfx/razod-lost-in-ostrel.ogg";
    // Leave codes of the page loop.
    enum Leave : int { kGoOn = 0, kDone = 1, kSkipped = 2 };

    // ---- resources of one run ----
    plat::FontPtr font;
    plat::ImagePtr topImage, bottomImage, nextImage, skipImage;
    TStoryPart part;
    TDrawStoryText currentText, previousText;
    TAudioStreamPtr music, voiceStream;

    // ---- the page loop's state ----
    int pageIndex = 1;
    int pictureY = 0;
    int previousPictureY = 0;
    int pageTime = 0;
    int pageStart = 0;  // MilliSecs when the page came up
    float pictureFade = 0;
    float textFade = 0;
    int turnRequested = 0;
    int autoTurnStopped = 0;
    int nextHovered = 0, skipHovered = 0;
    int leaveCode = kGoOn;
    int voiceStart = 0;
    int voiceStopped = 0;  // 1 once the voice's time is over

    // The whole sequence; always 0.
    int Run(int partNumber, int fadeIn);

    // ---- its steps, in order (tests drive them one by one) ----
    void FadeIn();
    void FirstFrame();
    void Load(int partNumber);
    void StartMusic();
    void OpeningFade();
    void StartVoice();
    void BeginPages();
    // One frame of the page loop, Flip included.
    void PageFrame();
    void FadeOut();
    void Release();

    // Parts of a page frame: everything before the Flip (timing, input,
    // the page timer, drawing, the turn, buttons, cursor) ...
    void PageDraw();
    void DrawPage();
    // Carries out a requested turn.
    void Turn();
    // ... and after it: Escape, hovering, clicks, the voice's time.
    void React();
    // The page's keys into the loop state and the current text.
    void ShowPage(int index);
    bool HasVoice() const { return !part.voice.empty(); }
};

// Plays story part `part`; a non-zero fadeIn darkens the previous screen into
// the loading picture first. Always 0.
int showStory(int part, int fadeIn);
