// A plain modal window asking for a name: letters only, at most 15, not one
// of existingNames (case counts). Returns the name, or "" when the player
// presses Escape or Cancel.
#pragma once
#include <memory>
#include <string>
#include <vector>

std::string GetNameWindow(const std::vector<std::string>& existingNames);

class TMenuE;
namespace plat {
class ImageFont;
class Image;
}  // namespace plat

// What the window stands on: the best-scores backdrop, its panel and the
// sunken field the name is typed in. Any of them may be missing; the window
// then draws without it.
struct NameWindowPictures {
    std::shared_ptr<plat::Image> backdrop, panel, field;
};
NameWindowPictures LoadNameWindowPictures();

// One frame of the window's drawing, up to (not including) the Flip.
void DrawNameWindow(const std::string& name, bool taken, const std::shared_ptr<plat::ImageFont>& font, TMenuE& menu,
                    const NameWindowPictures& pictures);
