// The registry of shared resources and widgets under integer ids, and the
// sound-effect wrapper it can hold.
//
// Entries are found by a linear walk in insertion order. Ids may repeat: the
// typed getters see only the first entry of an id, while Draw, State, Play,
// Stop and Remove act on every entry of it.
//
// Buttons (ui/button.h) are registered as TObject like every other widget;
// the registry draws and polls them through TButton::Draw and TButton::State.
#pragma once
#include <memory>
#include <string>
#include "platform/audio.h"
#include "platform/list.h"
#include "ui/dim.h"
#include "ui/object.h"

class TText;
class TMemo;
class TFont;
class TFrame;
class TButton;

class TSFX : public TObject {
public:
    plat::SoundPtr sound;      // null when loading failed
    plat::ChannelPtr channel;  // of the last Play only
    int flags = 0;             // 1 loops, 0 plays once

    ~TSFX() override;
    // Each play gets a new channel at its default volume (the options'
    // sound volume is deliberately not applied); earlier plays go on.
    virtual int Play();
    // Stops the last play only.
    virtual int Stop();
};
using TSFXPtr = std::shared_ptr<TSFX>;

TSFXPtr CreateSFX(const std::string& path, int flags);

class TContainerItem : public TObject {
public:
    int id = 0;
    TDimPtr dim;         // where an image or pixmap entry is drawn; may be null
    TObjectRef object;

    ~TContainerItem() override;
    // Images and pixmaps draw at dim's Left/Top (nothing without a dim);
    // memos, frames, texts and buttons draw at their own rectangles.
    virtual int Draw();
    // Runs a button's hit test and drops its result.
    virtual int State();
    virtual int Play();
    virtual int Stop();
};
using TContainerItemPtr = std::shared_ptr<TContainerItem>;

// Note the order: id, object, rectangle (Add takes the object first).
TContainerItemPtr CreateContainerItem(int id, const TObjectRef& object, const TDimPtr& dim);

class TContainer : public TObject {
public:
    std::shared_ptr<plat::TList<TContainerItemPtr>> items = plat::CreateList<TContainerItemPtr>();

    // No check for an id already present; dim may be null.
    virtual int Add(const TObjectRef& object, int id, const TDimPtr& dim = nullptr);
    virtual TContainerItemPtr Get(int id);
    virtual TObjectRef GetObject(int id);
    // Null when the first entry of the id holds another type, even when a
    // later entry of the same id holds the asked one.
    virtual plat::ImagePtr GetImage(int id);
    virtual plat::PixmapPtr GetPixmap(int id);
    virtual std::shared_ptr<TText> GetText(int id);
    virtual std::shared_ptr<TFont> GetFont(int id);
    virtual plat::FontPtr GetTTFont(int id);
    virtual std::shared_ptr<TMemo> GetMemo(int id);
    virtual std::shared_ptr<TFrame> GetFrame(int id);
    virtual TSFXPtr GetSFX(int id);
    // The entry's object when it is a rectangle, never the entry's own dim.
    virtual TDimPtr GetDim(int id);
    virtual std::shared_ptr<TButton> GetButton(int id);
    virtual int Draw(int id);
    virtual int State(int id);
    virtual int Play(int id);
    virtual int Stop(int id);
    virtual int Remove(int id);
    virtual int Count();
    virtual int Clear();

private:
    template <class T> std::shared_ptr<T> FirstAs(int id);
};
using TContainerPtr = std::shared_ptr<TContainer>;

// The one registry of the game, filled by the loading screen.
extern TContainerPtr data;
