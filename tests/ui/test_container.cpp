// The registry: first-entry lookups by type, operations on every entry of an
// id, entry drawing, and the sound-effect wrapper.
#include "platform/audio.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/frame.h"
#include "ui/text.h"
#include "ui_fixture.h"

namespace {

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class Registry : public UiTest {};

TEST_F(Registry, EachTypedGetterAnswersOnlyForItsOwnType) {
    TContainer reg;
    auto img = Image(4, 4);
    auto pix = Filled(4, 4, 0xFF000000u);
    auto tt = plat::LoadImageFont(kDejaVu, 12);
    ASSERT_TRUE(tt);
    auto font = std::make_shared<TFont>();
    auto text = CreateText("a", CreateDim(0, 0, 0, 0, 0, 1, 1, 0), font, 1, 0, 0, 0);
    auto memo = CreateMemo(font, "b", CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 1, 1);
    TFramePtr frame = CreateImageFrame(CreateDim(0, 0, 1, 1, 0, 1, 1, 0), 0, 1, 0);  // a subtype counts
    auto sfx = std::make_shared<TSFX>();
    auto dim = CreateDim(1, 2, 3, 4, 0, 1, 1, 0);
    reg.Add(img, 1);
    reg.Add(pix, 2);
    reg.Add(tt, 3);
    reg.Add(font, 4);
    reg.Add(text, 5);
    reg.Add(memo, 6);
    reg.Add(frame, 7);
    reg.Add(sfx, 8);
    reg.Add(dim, 9);
    EXPECT_EQ(reg.Count(), 9);

    for (int id = 0; id <= 10; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(reg.GetImage(id), id == 1 ? img : nullptr);
        EXPECT_EQ(reg.GetPixmap(id), id == 2 ? pix : nullptr);
        EXPECT_EQ(reg.GetTTFont(id), id == 3 ? tt : nullptr);
        EXPECT_EQ(reg.GetFont(id), id == 4 ? font : nullptr);
        EXPECT_EQ(reg.GetText(id), id == 5 ? text : nullptr);
        EXPECT_EQ(reg.GetMemo(id), id == 6 ? memo : nullptr);
        EXPECT_EQ(reg.GetFrame(id), id == 7 ? frame : nullptr);
        EXPECT_EQ(reg.GetSFX(id), id == 8 ? sfx : nullptr);
        EXPECT_EQ(reg.GetDim(id), id == 9 ? dim : nullptr);
        EXPECT_EQ(reg.GetButton(id), nullptr);
        EXPECT_EQ(reg.Get(id) != nullptr, id >= 1 && id <= 9);
    }
    EXPECT_EQ(RefAs<TText>(reg.GetObject(5)), text);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reg.GetObject(42)));
}

TEST_F(Registry, GettersSeeTheFirstEntryOfAnIdAndTheRestActOnEveryEntry) {
    TContainer reg;
    auto img = Image(4, 4);
    auto rect = CreateDim(30, 40, 10, 10, 0, 1, 1, 0);
    auto frame = CreateColorFrame(CreateDim(100, 100, 20, 20, 2, 1, 1, 0), CreateColor(0xFF0000), 0, nullptr, 1, 0);
    reg.Add(Image(2, 2), 6);
    reg.Add(img, 7, rect);
    reg.Add(frame, 7);
    EXPECT_EQ(reg.Count(), 3);
    EXPECT_EQ(reg.GetImage(7), img);
    EXPECT_EQ(reg.GetFrame(7), nullptr);  // the first entry of 7 is the image
    EXPECT_EQ(reg.GetDim(7), nullptr);    // the entry's rectangle is never returned by a getter
    EXPECT_EQ(reg.Get(7)->dim, rect);

    Clear();
    reg.Draw(7);
    const auto images = Calls(Call::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].image, img.get());
    EXPECT_FLOAT_EQ(images[0].x, 30);
    EXPECT_FLOAT_EQ(images[0].y, 40);
    EXPECT_EQ(Calls(Call::RECT).size(), 4u);  // the frame's bars

    reg.Remove(7);
    EXPECT_EQ(reg.Count(), 1);
    EXPECT_EQ(reg.GetImage(7), nullptr);
    EXPECT_NE(reg.GetImage(6), nullptr);

    // Absent ids: nothing happens.
    Clear();
    reg.Draw(7);
    reg.State(7);
    reg.Play(7);
    reg.Stop(7);
    reg.Remove(7);
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    EXPECT_EQ(reg.Count(), 1);
    reg.Clear();
    EXPECT_EQ(reg.Count(), 0);
    EXPECT_EQ(reg.GetImage(6), nullptr);
}

TEST_F(Registry, RemoveKeepsTheOrderOfTheOtherEntries) {
    TContainer reg;
    std::vector<TDimPtr> dims;
    for (int id : {1, 2, 1, 3, 1, 1}) {
        dims.push_back(CreateDim(static_cast<float>(dims.size()), 0, 0, 0, 0, 1, 1, 0));
        reg.Add(dims.back(), id);
    }
    reg.Remove(1);
    ASSERT_EQ(reg.Count(), 2);
    EXPECT_EQ(reg.items->First()->id, 2);
    EXPECT_EQ(reg.items->Last()->id, 3);
    EXPECT_EQ(reg.GetDim(3), dims[3]);
}

TEST_F(Registry, ImageAndPixmapEntriesDrawAtTheirRectanglesTruncatedForPixmaps) {
    struct { float left; int want; } cases[] = {{10.9f, 10}, {-0.5f, 0}, {-1.7f, -1}, {3.0f, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        TContainer reg;
        reg.Add(Filled(4, 4, 0xFFFFFFFFu), 1, CreateDim(c.left, c.left, 4, 4, 0, 1, 1, 0));
        Clear();
        reg.Draw(1);
        const auto calls = Calls(Call::PIXMAP);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].x, static_cast<float>(c.want));
        EXPECT_EQ(calls[0].y, static_cast<float>(c.want));
    }
    // A scaled rectangle places the image at its scaled corner.
    TContainer reg;
    auto rect = CreateDim(100, 100, 40, 20, 0, 0.5f, 0.5f, 0);
    reg.Add(Image(4, 4), 1, rect);
    reg.Add(Image(4, 4), 2);  // no rectangle: not drawn
    Clear();
    reg.Draw(1);
    reg.Draw(2);
    const auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FLOAT_EQ(calls[0].x, 110);
    EXPECT_FLOAT_EQ(calls[0].y, 105);
}

TEST_F(Registry, SoundEffectKeepsOnlyItsLastChannel) {
    auto sfx = std::make_shared<TSFX>();
    sfx->sound = std::make_shared<plat::Sound>();
    sfx->sound->samples.assign(2 * 44100, 100);
    sfx->sound->loop = true;  // keeps playing without a device until stopped
    TContainer reg;
    reg.Add(sfx, 3);
    reg.Stop(3);  // before any play: nothing
    reg.Play(3);
    const plat::ChannelPtr first = sfx->channel;
    reg.Play(3);
    const plat::ChannelPtr second = sfx->channel;
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    reg.Stop(3);
    EXPECT_TRUE(plat::ChannelPlaying(first));
    EXPECT_FALSE(plat::ChannelPlaying(second));
    plat::StopChannel(first);

    TSFXPtr missing = CreateSFX("no/such/sound.ogg", 0);
    EXPECT_FALSE(missing->sound);
    EXPECT_EQ(missing->flags, 0);
    missing->Play();
    missing->Stop();
    EXPECT_FALSE(missing->channel);
}

TEST_F(Registry, WidgetEntriesDrawAtTheirOwnRectangles) {
    TContainer reg;
    auto tt = plat::LoadImageFont(kDejaVu, 14);
    auto text = CreateText("hi", CreateDim(50, 60, 0, 0, 0, 1, 1, 0), tt, 1, 0, 0, 0);
    reg.Add(text, 1, CreateDim(500, 500, 0, 0, 0, 1, 1, 0));  // the entry's rectangle is not used
    reg.Add(CreateMemo(tt, "yo", CreateDim(70, 80, 100, 20, 0, 1, 1, 0), 1, 1), 1);
    Clear();
    reg.Draw(1);
    const auto texts = Calls(Call::TEXT);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "hi");
    EXPECT_FLOAT_EQ(texts[0].x, 50);
    EXPECT_EQ(texts[1].text, "y");
    EXPECT_FLOAT_EQ(texts[1].x, 70);
    EXPECT_FLOAT_EQ(texts[1].y, 80);
}

// A button that counts how the registry reaches it.
struct ProbeButton : TButton {
    int polls = 0, draws = 0;
    int State() override {
        ++polls;
        OnClick();
        return id;
    }
    int Draw() override {
        ++draws;
        return 0;
    }
};

TEST_F(Registry, ButtonsArePolledAndDrawnUnderEveryEntryOfTheirIdAndClicksReadThroughTheLatch) {
    TContainer reg;
    auto img = Image(4, 4);
    auto button = std::make_shared<ProbeButton>();
    button->id = 31;
    auto other = std::make_shared<ProbeButton>();
    reg.Add(img, 12, CreateDim(5, 5, 4, 4, 0, 1, 1, 0));
    reg.Add(button, 12);
    reg.Add(other, 13);
    EXPECT_EQ(reg.GetButton(12), nullptr);  // the first entry of 12 is the image
    EXPECT_EQ(reg.GetImage(12), img);
    EXPECT_EQ(reg.GetButton(13), other);

    EXPECT_EQ(reg.State(12), 0);  // the click is not the result
    EXPECT_EQ(button->polls, 1);
    EXPECT_EQ(other->polls, 0);
    EXPECT_EQ(button->isClicked(), 1);
    EXPECT_EQ(button->isClicked(), 0);

    reg.Draw(12);
    EXPECT_EQ(button->draws, 1);
    EXPECT_EQ(CallsOf(img).size(), 1u);

    reg.Remove(12);
    EXPECT_EQ(reg.Count(), 1);
    reg.State(13);
    EXPECT_EQ(reg.GetButton(13)->isClicked(), 1);
}

TEST_F(Registry, TheGameRegistryExists) {
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Count(), 0);
    auto item = CreateContainerItem(5, Image(1, 1), nullptr);  // id first, then the object
    EXPECT_EQ(item->id, 5);
    EXPECT_TRUE(RefImage(item->object));
}

}  // namespace
