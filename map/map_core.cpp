// The quest map's pictures, labels and buttons, and its map file.
#include "map/map_core.h"

#include "config/bca.h"
#include "platform/app.h"
#include "platform/text.h"
#include "ui/button_image.h"
#include "ui/dim.h"
#include "ui/font.h"

TMapCorePtr map;

namespace {

// The map's own pictures are part of the installation; a missing one is
// said once and then simply not drawn.
plat::ImagePtr MapPicture(const std::string& path) {
    plat::ImagePtr img = plat::LoadImage(path, -1);
    if (!img) plat::Print("The quest map cannot read \"" + path + "\"");
    return img;
}

}  // namespace

int TMapCore::LoadPictures() {
    background = MapPicture("gfx/mapa/mapa.jpg");
    highlightImages[0] = MapPicture("gfx/mapa/k1c.png");
    highlightImages[1] = MapPicture("gfx/mapa/k2c.png");
    highlightImages[2] = MapPicture("gfx/mapa/k3c.png");
    titleImages[0] = MapPicture("gfx/mapa/level.png");
    titleImages[1] = MapPicture("gfx/mapa/of.png");
    markerImages[0] = {MapPicture("gfx/mapa/k1b.png"), MapPicture("gfx/mapa/k1.png")};
    markerImages[1] = markerImages[0];
    markerImages[3] = markerImages[0];
    markerImages[2] = {MapPicture("gfx/mapa/k2b.png"), MapPicture("gfx/mapa/k2.png")};
    markerImages[4] = {MapPicture("gfx/mapa/k3b.png"), MapPicture("gfx/mapa/k3.png")};
    // A marker's x, y is the centre of its pictures.
    for (const auto& row : markerImages)
        for (const auto& img : row)
            if (img) plat::MidHandleImage(img);
    for (const auto& img : highlightImages)
        if (img) plat::MidHandleImage(img);

    for (auto& label : labels)
        label = CreateText("", CreateDim(400, kLabelY, 0, 0, 0, 1, 1, 0), fonts[1], 1.0f, 0, 0.0f, 0.0f);
    menu->AddItem(CreateImageButton(std::string("gfx/fonts/menu_mapa.png"), CreateDim(194, 566, 0, 0, 0, 1, 1, 0),
                                    kMenuButton, 1.0f, kHoverDarken));
    menu->AddItem(CreateImageButton(std::string("gfx/fonts/play_mapa.png"), CreateDim(520, 566, 0, 0, 0, 1, 1, 0),
                                    kPlayButton, 1.0f, kHoverDarken));
    return 0;
}

int TMapCore::Load() {
    LoadPictures();
    const TTSCFilePtr file = CreateTSCFile();
    // A damaged archive member has been reported by the reader; the map then
    // has no markers and still shows.
    LoadTSCFileBB(file, kArchive, kMember);
    std::string missingKey;
    ReadLayout(file, missingKey);
    if (!missingKey.empty()) {
        // The installation is damaged: say which file and key, and end in order.
        plat::Notify(std::string("The quest map ") + kMember + " in " + kArchive + " cannot be used:\n" + missingKey +
                         "\nThe game will close.",
                     0);
        plat::End();
    }
    return 0;
}

int TMapCore::ReadLayout(const TTSCFilePtr& file, std::string& missingKey) {
    missingKey.clear();
    // Each entry is read from its own keys: two entries of one name (a
    // pasted block) are two markers, not the first one twice.
    auto whole = [](const TTSCGroupKeys& g, const char* key) {
        return plat::TruncToInt(GetTSCNumberKey(g, key, 0));
    };
    try {
        for (const TTSCGroupKeys& g : file->GroupsWithKeys("Levels")) {
            const int32_t number = whole(g, "Number");
            const int32_t stage = whole(g, "Stage");
            const int32_t kind = whole(g, "Kind");
            const int32_t x = whole(g, "X");
            const int32_t y = whole(g, "Y");
            AddLevel(number, stage, kind, x, y);
        }
        for (const TTSCGroupKeys& g : file->GroupsWithKeys("Stages")) {
            const int32_t number = whole(g, "Number");
            const TTSCKeyView* image = g.Find("Image");
            if (!image) plat::Print("The key " + g.path + "::Image does not exist");
            const int32_t x = whole(g, "X");
            const int32_t y = whole(g, "Y");
            AddStage(number, image ? image->Value(0) : std::string(), x, y);
        }
    } catch (const TSCError& e) {
        missingKey = e.Text();
    }
    return 0;
}

int TMapCore::AddLevel(int32_t number, int32_t stage, int32_t kind, int32_t x, int32_t y) {
    if (kind < 1 || kind > 5) {
        // No picture to show it by, but the layout editor writes it back.
        unknownKinds->AddLast(TMapLevel::Create(number, stage, kind, x, y, nullptr, nullptr));
        return 0;
    }
    const auto& pair = markerImages[static_cast<size_t>(kind - 1)];
    levels->AddLast(TMapLevel::Create(number, stage, kind, x, y, pair[0], pair[1]));
    return 0;
}

int TMapCore::AddStage(int32_t number, const std::string& imageName, int32_t x, int32_t y) {
    stages->AddLast(TMapStage::Create(number, imageName, x, y));
    return 0;
}
