#include "app/ProgressFollower.h"

#include <QProgressBar>

namespace velmar {

ProgressFollower::ProgressFollower(QProgressBar* bar) : bar_(bar) {
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { Show(); });
}

void ProgressFollower::Follow(std::shared_ptr<const JobProgress> progress) {
    progress_ = std::move(progress);
    if (!progress_) {
        timer_.stop();
        bar_->setTextVisible(false);
        return;
    }
    meter_ = ProgressMeter();
    clock_.start();
    bar_->setRange(0, ProgressScale);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->setTextVisible(true);
    Show();
    timer_.start();
}

void ProgressFollower::Show() {
    const ProgressReading reading = meter_.Read(static_cast<double>(clock_.nsecsElapsed()) / 1e9, *progress_);
    bar_->setValue(reading.position);
    // The format's %p, %v and %m would stand for the bar's own numbers; the
    // reading's "%" is followed by a blank or nothing, and stays as it is.
    bar_->setFormat(QString::fromStdString(reading.text));
}

}  // namespace velmar
