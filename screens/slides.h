// The record of revealed pictures: the background picture of every board
// level the player has loaded, each once, in the order first reached. The
// gallery shows them; the quest's save keeps them in the profile as
// "revealedImages" and a profile load puts the stored copy back.
#pragma once
#include <memory>
#include <string>
#include <vector>

using TRevealedList = std::vector<std::string>;
using TRevealedListPtr = std::shared_ptr<TRevealedList>;

class TSlidesManager {
public:
    // Replaced as a whole by a profile load and by the gallery's start; from
    // the gallery's start on, the gallery shows this very list.
    TRevealedListPtr revealedList = std::make_shared<TRevealedList>();

    virtual ~TSlidesManager() = default;
    // Appends the name unless it is there already (letter case counts: two
    // spellings are two pictures). An empty name is recorded like any other.
    virtual int addRevealedImage(const std::string& name);
};
using TSlidesManagerPtr = std::shared_ptr<TSlidesManager>;

extern TSlidesManagerPtr slides;
