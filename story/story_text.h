// The text block of a story page: up to six lines drawn in black in the
// lower part of the story screen, at an alpha the player fades.
#pragma once
#include <array>
#include <string>

class TDrawStoryText {
public:
    static constexpr int kMaxLines = 6;

    std::array<std::string, kMaxLines> lines{};
    // Entries 0 to lineCount - 1 are drawn. The owner writes it directly.
    int lineCount = 0;

    // An index outside 0..5 is ignored. lineCount is left alone.
    int setLine(int index, const std::string& text);
    // Black text at alpha 0.8 x fade, scale 1, from (105, 440), or from y 425
    // when there are five or six lines; one font height per line. The
    // colour, alpha and scale stay as set; font and blend are the owner's.
    int Draw(float fade);
    int Clear();
    // Takes other's count and its first lineCount lines; later lines keep
    // what they held.
    int Copy(const TDrawStoryText& other);

    // The lines Draw shows: lineCount held to 0..6.
    int ShownLines() const;
};
