#include "client/app/DeadStoneAdvisor.h"

#include <QMetaObject>

#include "client/engine/GoPaintBox.h"
#include "client/record/GoMainCommands.h"
#include "client/record/ZelGoMainForm.h"
#include "core/engine/LetterCodes.h"
#include "core/game/BBS2Zel.h"
#include "core/gtp/GtpPosition.h"
#include "os/GtpDeadStones.h"

namespace zel {

TDeadStoneAdvisor::TDeadStoneAdvisor(TBBS2Zel& session, TZelGoMainForm& form,
                                     std::unique_ptr<DeadStoneEstimator> estimator,
                                     std::unique_ptr<DeadStoneEstimator> second)
    : session_(session), form_(form), name_(estimator->Name())
{
    quick_.estimator = std::move(estimator);
    second_.estimator = std::move(second);
    quick_.thread = std::thread([this] { Work(quick_, false); });
    if (second_.estimator)
        second_.thread = std::thread([this] { Work(second_, true); });
}

TDeadStoneAdvisor::~TDeadStoneAdvisor()
{
    // An estimator still thinking is told to stop, so that closing the
    // window never waits for an engine.
    Stop(quick_);
    Stop(second_);
    for (TWorker* w : {&quick_, &second_})
        if (w->thread.joinable())
            w->thread.join();
}

void TDeadStoneAdvisor::Stop(TWorker& worker)
{
    if (!worker.estimator)
        return;
    {
        std::lock_guard<std::mutex> lock(worker.mutex);
        worker.quit = true;
        worker.job.reset();
    }
    worker.wake.notify_all();
    worker.estimator->Cancel();
}

void TDeadStoneAdvisor::Post(TWorker& worker, const TJob& job)
{
    if (!worker.estimator)
        return;
    {
        std::lock_guard<std::mutex> lock(worker.mutex);
        worker.job = job;
    }
    worker.wake.notify_all();
}

void TDeadStoneAdvisor::Work(TWorker& worker, bool second)
{
    for (;;) {
        TJob job;
        {
            std::unique_lock<std::mutex> lock(worker.mutex);
            worker.wake.wait(lock, [&worker] { return worker.quit || worker.job.has_value(); });
            if (worker.quit)
                return;
            job = std::move(*worker.job);
            worker.job.reset();
        }
        std::vector<std::pair<int, int>> dead;
        const bool ok = worker.estimator->DeadStones(job.query, dead);
        QMetaObject::invokeMethod(
            this,
            [this, second, key = job.key, ok, dead = std::move(dead), name = worker.estimator->Name()]() mutable {
                if (second)
                    DeliverSecond(key, ok, std::move(dead), name);
                else
                    Deliver(key, ok, std::move(dead), name);
            },
            Qt::QueuedConnection);
    }
}

std::string TDeadStoneAdvisor::PositionKey() const
{
    return session_.Header().GameId + "/" + std::to_string(session_.Board().MoveCount());
}

void TDeadStoneAdvisor::MarkingStarted()
{
    if (session_.DeadMarkStage() == 0 || !session_.IsPlayer())
        return;
    const std::string key = PositionKey();
    if (key == key_ && state_ != State::None) {
        if (state_ == State::Shown)
            ShowOnBoard();
        return;
    }
    key_ = key;
    state_ = State::Waiting;
    suggestion_.clear();
    quickPending_ = true;
    secondPending_ = second_.estimator != nullptr;
    secondShown_ = false;
    applied_ = false;
    marksAsked_ = MarkedDead(session_.Board());
    markerAsked_ = session_.DeadMarker();
    latencyMs_ = -1;
    secondLatencyMs_ = -1;
    since_.start();
    const int komi = Code2ToNum(session_.Header().KomiCode);
    const TJob job{key, GameQuery(session_.Board(), GtpKomi(session_.Header().KomiSideCode, komi < 0 ? 0 : komi))};
    // The second estimator is asked once the quick one has answered, so the
    // two never share the processor while the first suggestion is awaited.
    secondJob_ = job;
    Post(quick_, job);
}

bool TDeadStoneAdvisor::Untouched() const
{
    return !applied_ && session_.DeadMarker() == markerAsked_ && MarkedDead(session_.Board()) == marksAsked_;
}

void TDeadStoneAdvisor::Deliver(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead,
                                const std::string& name)
{
    // An answer for a position no longer shown is dropped.
    if (key != key_ || state_ == State::None || !quickPending_ || session_.DeadMarkStage() == 0)
        return;
    quickPending_ = false;
    if (secondPending_)
        Post(second_, secondJob_);
    if (!ok) {
        if (!secondPending_)
            state_ = State::Failed;
        return;
    }
    Show(std::move(dead), name);
    latencyMs_ = since_.elapsed();
    emit SuggestionShown();
}

void TDeadStoneAdvisor::DeliverSecond(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead,
                                      const std::string& name)
{
    if (key != key_ || state_ == State::None || !secondPending_ || session_.DeadMarkStage() == 0)
        return;
    secondPending_ = false;
    if (!ok || !Untouched()) {
        // The quick suggestion, if any, stays; the player's marks are theirs.
        // (The quick answer is always in by now: the second is asked after it.)
        if (state_ == State::Waiting)
            state_ = State::Failed;
        return;
    }
    const bool first = state_ != State::Shown;
    Show(std::move(dead), name);
    secondShown_ = true;
    secondLatencyMs_ = since_.elapsed();
    if (first)
        latencyMs_ = secondLatencyMs_;
    emit SuggestionShown();
}

void TDeadStoneAdvisor::Show(std::vector<std::pair<int, int>> dead, const std::string& name)
{
    suggestion_ = std::move(dead);
    name_ = name;
    state_ = State::Shown;
    ShowOnBoard();
}

void TDeadStoneAdvisor::ShowOnBoard()
{
    form_.GoPaintBox()->ShowSuggestion(suggestion_);
    form_.SetButtonCommand(kAutoMarkButton, kCmdAutoMark);
}

void TDeadStoneAdvisor::Apply()
{
    if (state_ != State::Shown || session_.DeadMarkStage() == 0)
        return;
    applied_ = true;
    session_.MarkDeadPoints(suggestion_);
}

void TDeadStoneAdvisor::Clear()
{
    for (TWorker* w : {&quick_, &second_}) {
        std::lock_guard<std::mutex> lock(w->mutex);
        w->job.reset();
    }
    state_ = State::None;
    key_.clear();
    suggestion_.clear();
    quickPending_ = false;
    secondPending_ = false;
    secondShown_ = false;
    form_.GoPaintBox()->ClearSuggestion();
}

} // namespace zel
