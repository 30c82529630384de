// Spell effects: emitters that send trains of glowing particles along a
// quadratic Bezier curve, and the six kinds the spells use, whose particles
// change the board when they arrive. Every live emitter is held, in the
// order made, by the global `volcanoList`; TVolcanoEmiter::updateAll runs
// them once a frame.
//
// Index: particles (TVolcanoEntity, TFireEntity, TRemoveLineEntity) ·
//        TVolcanoEmiter · the six spell emitters · the global list
#pragma once
#include <cstdint>
#include <memory>
#include <vector>
#include "platform/image.h"
#include "platform/list.h"

// ---- particles ----------------------------------------------------------------------
class TVolcanoEntity {
public:
    float x = 0, y = 0;
    float startX = 0, startY = 0;
    float endX = 0, endY = 0;
    float controlX = 0, controlY = 0;
    float t = 0;  // 0 at the start, 1 at the end; 1.001 in the update it arrived
    float speed = 0;
    int32_t red = -1, green = -1, blue = -1;  // any negative: the emitter's colour
    float scale = 0;
    int32_t alive = 0;

    virtual ~TVolcanoEntity() = default;
    // The same arguments make every particle kind.
    static std::unique_ptr<TVolcanoEntity> Create(float startX, float startY, float endX, float endY, float controlX,
                                                  float controlY, float speed, float scale);
    virtual int Update();
    virtual int Draw(const plat::ImagePtr& image);

protected:
    void Init(float startX, float startY, float endX, float endY, float controlX, float controlY, float speed,
              float scale);
    // steps 1 and 2 of the motion: t advanced, or the arrival marked
    void Advance();
    void PlaceOnCurve();
};

// A flickering flame that turns and grows as it flies. Its Draw leaves the
// rotation and the picture's centred handle for its emitter to undo.
class TFireEntity : public TVolcanoEntity {
public:
    int32_t rotation = 0;  // whole degrees

    static std::unique_ptr<TFireEntity> Create(float startX, float startY, float endX, float endY, float controlX,
                                               float controlY, float speed, float scale);
    int Draw(const plat::ImagePtr& image) override;
};

// A spark that wobbles across its line as it flies.
class TRemoveLineEntity : public TVolcanoEntity {
public:
    float wobble = 0;
    int32_t wobbleUp = 1;
    float wobbleLimit = 0;  // must be set above 0 before the first Update
    int32_t wobbleOnY = 1;  // 1: the wobble moves y, 0: x

    static std::unique_ptr<TRemoveLineEntity> Create(float startX, float startY, float endX, float endY,
                                                     float controlX, float controlY, float speed, float scale);
    int Update() override;
};

// ---- the base emitter -------------------------------------------------------------------
class TVolcanoEmiter;
using TVolcanoEmiterPtr = std::shared_ptr<TVolcanoEmiter>;

class TVolcanoEmiter : public std::enable_shared_from_this<TVolcanoEmiter> {
public:
    float startX = 0, startY = 0;
    float endX = 0, endY = 0;
    float controlX = 0, controlY = 0;
    float speed = 0;
    float particleCount = 0;
    float spawned = 0;  // spawning steps so far (one AddEntity per update)
    plat::ImagePtr image;  // sparkImages slot 0, shared
    std::vector<std::unique_ptr<TVolcanoEntity>> particles;  // in the order spawned
    int32_t red = 0, green = 0, blue = 0;

    TVolcanoEmiter();
    virtual ~TVolcanoEmiter() = default;

    static TVolcanoEmiterPtr Create(float startX, float startY, float endX, float endY, float speed,
                                    int particleCount, int red, int green, int blue);
    // One update of every live emitter, in order; finished ones leave the list.
    static int updateAll();
    // Spawn, move, draw, hook; or leave the list once all is spent.
    int Update();
    virtual int AddEntity();
    virtual int _update();

    // Picks the control point inside the box spanned by start and end.
    void ChooseControlPoint();
    // Appends this emitter to volcanoList (the add functions do).
    void Enlist();
};

// ---- the spell emitters ---------------------------------------------------------------
class TToSphereEmiter;
class TRemoveRandomColorsEmiter;
class TRemoveColorEmiter;
class THealEmiter;
class TRemoveBlockEmiter;
class TRemoveLineEmiter;
using TToSphereEmiterPtr = std::shared_ptr<TToSphereEmiter>;
using TRemoveRandomColorsEmiterPtr = std::shared_ptr<TRemoveRandomColorsEmiter>;
using TRemoveColorEmiterPtr = std::shared_ptr<TRemoveColorEmiter>;
using THealEmiterPtr = std::shared_ptr<THealEmiter>;
using TRemoveBlockEmiterPtr = std::shared_ptr<TRemoveBlockEmiter>;
using TRemoveLineEmiterPtr = std::shared_ptr<TRemoveLineEmiter>;

// A removed rune's stream from its cell to the sphere of its colour; it stops
// the cell's sparkle once most of the stream has left.
class TToSphereEmiter : public TVolcanoEmiter {
public:
    int32_t cellX = 0, cellY = 0;

    static TToSphereEmiterPtr add(float startX, float startY, int red, int green, int blue, int cellX, int cellY,
                                  int color);
    int _update() override;
};

// Vanish: a flickering stream to one cell, which is emptied when it arrives.
class TRemoveRandomColorsEmiter : public TVolcanoEmiter {
public:
    int32_t cellX = 0, cellY = 0;
    int32_t highlightColor = 0;
    int32_t pending = 0;

    static TRemoveRandomColorsEmiterPtr add(float startX, float startY, float endX, float endY, int red, int green,
                                            int blue, int cellX, int cellY, int highlightColor);
    int _update() override;
};

// Drain: a stream in the drained colour to one cell, emptied on arrival.
class TRemoveColorEmiter : public TVolcanoEmiter {
public:
    int32_t cellX = 0, cellY = 0;
    int32_t highlightColor = 0;
    int32_t pending = 0;

    static TRemoveColorEmiterPtr add(float startX, float startY, float endX, float endY, int red, int green,
                                     int blue, int cellX, int cellY, int highlightColor);
    int _update() override;
};

// Heal: a burst of flames on a stone, which turns back near the burst's end.
class THealEmiter : public TVolcanoEmiter {
public:
    int32_t cellX = 0, cellY = 0;
    int32_t pending = 0;

    static THealEmiterPtr add(float x, float y, float cellX, int cellY);
    int AddEntity() override;
    int _update() override;
};

// Bomb: a burst of flames on one cell of the square, emptied near the end.
class TRemoveBlockEmiter : public TVolcanoEmiter {
public:
    int32_t cellX = 0, cellY = 0;
    int32_t pending = 0;

    static TRemoveBlockEmiterPtr add(float x, float y, float cellX, int cellY);
    int AddEntity() override;
    int _update() override;
};

// Holyfire: wobbling sparks running along a row (direction 1) or a column
// (0); every rune the leading spark passes is emptied.
class TRemoveLineEmiter : public TVolcanoEmiter {
public:
    int32_t direction = 0;

    static TRemoveLineEmiterPtr add(float startX, float startY, float endX, float endY, int direction);
    int AddEntity() override;
    int _update() override;

private:
    // Where the leading spark was at the last update, so that a long frame
    // still sweeps every cell in between.
    // Particles leave in the order they were spawned, so the leader is known
    // by its spawn number: spawned minus those still in the list.
    int32_t lastLeader_ = -1;
    float lastX_ = 0, lastY_ = 0;
};

// Every live spell effect, in the order made; the list owns them.
extern std::shared_ptr<plat::TList<TVolcanoEmiterPtr>> volcanoList;
