#include "ui/container.h"

#include "platform/graphics.h"
#include "platform/text.h"
#include "ui/button.h"
#include "ui/font.h"
#include "ui/frame.h"
#include "ui/text.h"

TContainerPtr data = std::make_shared<TContainer>();

// ---- sound effects -------------------------------------------------------------

TSFX::~TSFX() {
    channel.reset();
    sound.reset();
}

int TSFX::Play() {
    if (sound) channel = plat::PlaySound(sound);
    return 0;
}

int TSFX::Stop() {
    if (channel) plat::StopChannel(channel);
    return 0;
}

TSFXPtr CreateSFX(const std::string& path, int flags) {
    auto s = std::make_shared<TSFX>();
    s->flags = flags;
    s->sound = plat::LoadSound(path, flags);
    return s;
}

// ---- entries ---------------------------------------------------------------------

TContainerItem::~TContainerItem() {
    object = std::monostate{};
    dim.reset();
}

int TContainerItem::Draw() {
    // Each test stands on its own, in this order, as the entry may hold any
    // of these.
    if (const plat::ImagePtr img = RefImage(object); img && dim) plat::DrawImage(img, dim->Left(), dim->Top(), 0);
    if (const plat::PixmapPtr pix = RefPixmap(object); pix && dim)
        plat::DrawPixmap(pix, plat::TruncToInt(dim->Left()), plat::TruncToInt(dim->Top()));
    if (const auto memo = RefAs<TMemo>(object)) memo->Draw();
    if (const auto frame = RefAs<TFrame>(object)) frame->Draw();
    if (const auto text = RefAs<TText>(object)) text->Draw();
    if (const auto button = RefAs<TButton>(object)) button->Draw();
    return 0;
}

int TContainerItem::State() {
    if (const auto button = RefAs<TButton>(object)) button->State();
    return 0;
}

int TContainerItem::Play() {
    if (const auto sfx = RefAs<TSFX>(object)) sfx->Play();
    return 0;
}

int TContainerItem::Stop() {
    if (const auto sfx = RefAs<TSFX>(object)) sfx->Stop();
    return 0;
}

TContainerItemPtr CreateContainerItem(int id, const TObjectRef& object, const TDimPtr& dim) {
    auto item = std::make_shared<TContainerItem>();
    item->id = id;
    item->object = object;
    item->dim = dim;
    return item;
}

// ---- the registry ----------------------------------------------------------------

int TContainer::Add(const TObjectRef& object, int id, const TDimPtr& dim) {
    items->AddLast(CreateContainerItem(id, object, dim));
    return 0;
}

TContainerItemPtr TContainer::Get(int id) {
    for (const TContainerItemPtr& item : *items)
        if (item && item->id == id) return item;
    return nullptr;
}

TObjectRef TContainer::GetObject(int id) {
    const TContainerItemPtr item = Get(id);
    return item ? item->object : TObjectRef{};
}

template <class T>
std::shared_ptr<T> TContainer::FirstAs(int id) {
    const TContainerItemPtr item = Get(id);
    return item ? RefAs<T>(item->object) : nullptr;
}

plat::ImagePtr TContainer::GetImage(int id) {
    const TContainerItemPtr item = Get(id);
    return item ? RefImage(item->object) : nullptr;
}

plat::PixmapPtr TContainer::GetPixmap(int id) {
    const TContainerItemPtr item = Get(id);
    return item ? RefPixmap(item->object) : nullptr;
}

plat::FontPtr TContainer::GetTTFont(int id) {
    const TContainerItemPtr item = Get(id);
    return item ? RefImageFont(item->object) : nullptr;
}

std::shared_ptr<TText> TContainer::GetText(int id) { return FirstAs<TText>(id); }
std::shared_ptr<TFont> TContainer::GetFont(int id) { return FirstAs<TFont>(id); }
std::shared_ptr<TMemo> TContainer::GetMemo(int id) { return FirstAs<TMemo>(id); }
std::shared_ptr<TFrame> TContainer::GetFrame(int id) { return FirstAs<TFrame>(id); }
TSFXPtr TContainer::GetSFX(int id) { return FirstAs<TSFX>(id); }
TDimPtr TContainer::GetDim(int id) { return FirstAs<TDim>(id); }

std::shared_ptr<TButton> TContainer::GetButton(int id) { return FirstAs<TButton>(id); }

int TContainer::Draw(int id) {
    for (const TContainerItemPtr& item : *items)
        if (item && item->id == id) item->Draw();
    return 0;
}

int TContainer::State(int id) {
    for (const TContainerItemPtr& item : *items)
        if (item && item->id == id) item->State();
    return 0;
}

int TContainer::Play(int id) {
    for (const TContainerItemPtr& item : *items)
        if (item && item->id == id) item->Play();
    return 0;
}

int TContainer::Stop(int id) {
    for (const TContainerItemPtr& item : *items)
        if (item && item->id == id) item->Stop();
    return 0;
}

int TContainer::Remove(int id) {
    const auto list = items;
    for (auto l = list->FirstLink(); l;) {
        auto next = l->next;
        if (!l->removed && l->value && l->value->id == id) list->RemoveLink(l);
        l = std::move(next);
    }
    return 0;
}

int TContainer::Count() { return items->Count(); }

int TContainer::Clear() {
    items->Clear();
    return 0;
}
