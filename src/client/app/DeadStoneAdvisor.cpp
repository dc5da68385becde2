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
                                     std::unique_ptr<DeadStoneEstimator> estimator)
    : session_(session), form_(form), estimator_(std::move(estimator)), name_(estimator_->Name())
{
    worker_ = std::thread([this] { Work(); });
}

TDeadStoneAdvisor::~TDeadStoneAdvisor()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        job_.reset();
    }
    wake_.notify_all();
    worker_.join();
}

void TDeadStoneAdvisor::Work()
{
    for (;;) {
        TJob job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || job_.has_value(); });
            if (quit_)
                return;
            job = std::move(*job_);
            job_.reset();
        }
        std::vector<std::pair<int, int>> dead;
        const bool ok = estimator_->DeadStones(job.query, dead);
        QMetaObject::invokeMethod(
            this,
            [this, key = job.key, ok, dead = std::move(dead), name = estimator_->Name()]() mutable {
                name_ = name;
                Deliver(key, ok, std::move(dead));
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
    latencyMs_ = -1;
    since_.start();
    const int komi = Code2ToNum(session_.Header().KomiCode);
    TJob job{key, GameQuery(session_.Board(), GtpKomi(session_.Header().KomiSideCode, komi < 0 ? 0 : komi))};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = std::move(job);
    }
    wake_.notify_all();
}

void TDeadStoneAdvisor::Deliver(const std::string& key, bool ok, std::vector<std::pair<int, int>> dead)
{
    // An answer for a position no longer shown is dropped.
    if (key != key_ || state_ != State::Waiting || session_.DeadMarkStage() == 0)
        return;
    if (!ok) {
        state_ = State::Failed;
        return;
    }
    suggestion_ = std::move(dead);
    state_ = State::Shown;
    latencyMs_ = since_.elapsed();
    ShowOnBoard();
    emit SuggestionShown();
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
    session_.MarkDeadPoints(suggestion_);
}

void TDeadStoneAdvisor::Clear()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_.reset();
    }
    state_ = State::None;
    key_.clear();
    suggestion_.clear();
    form_.GoPaintBox()->ClearSuggestion();
}

} // namespace zel
