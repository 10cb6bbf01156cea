// Training mode on the daily chart: the toggle with its messages, the next and previous share steps
// while training, and the training-mark commands that need no mark drawing.
#pragma once

#include "chartmodel/TrainingMode.h"

#include <cstdint>
#include <functional>
#include <random>

namespace qv {

class CViewBase;
class CViewGraph;
struct CommandUi;

class EodTraining {
public:
    explicit EodTraining(CViewGraph& view) : view_(view) {}

    // Training mode on or off. On needs a list with an entry that has a price history; otherwise the
    // reason is shown and the mode stays off. Turned on, the information box shows unless the user
    // turned it off.
    void Toggle();
    // The next or previous share while training; false when training is off (the list's own move).
    bool Next();
    bool Previous();
    void TurnOff();

    bool RunCommand(uint32_t command);
    bool UpdateCommand(CommandUi& ui) const;

    const TrainingState& state() const { return state_; }
    // The index of the mark shown (-1: the whole chart), and that mark's date while training shows
    // one (0 otherwise).
    int32_t& cursor() { return state_.cursor; }
    int32_t ShownDate() const;
    // The training-mark hit test at a point (HitTrainingMark), installed by the view that knows where
    // the marks are; without it nothing is hit.
    std::function<int32_t(int32_t x, int32_t y)> hitTest;
    // The generator of the share draw; tests seed it.
    std::mt19937& random() { return random_; }

private:
    void Draw();
    int32_t MarkUnderMouse() const;

    CViewGraph& view_;
    TrainingState state_;
    std::mt19937 random_{std::random_device{}()};
};

// Training draws shares at random: a chart that follows another window's list, or shares its list
// with other views, is given a list of its own at the same share, so that the others stay where they
// are. True when it was unlinked.
bool UnlinkForTraining(CViewBase& view);

// Program-wide: the user asked not to see the training information again.
bool& TrainingInfoSuppressed();

} // namespace qv
