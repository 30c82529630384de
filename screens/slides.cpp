#include "screens/slides.h"

#include <algorithm>

TSlidesManagerPtr slides;

int TSlidesManager::addRevealedImage(const std::string& name) {
    if (!revealedList) revealedList = std::make_shared<TRevealedList>();
    if (std::find(revealedList->begin(), revealedList->end(), name) == revealedList->end())
        revealedList->push_back(name);
    return 0;
}
