// The progress bar during a job: about ten times a second it reads the
// job's counters and shows where the job stands, "37%  412 MB/s  0:42 left",
// so that however fast the files go by the window does the same small work.
#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "jobs/ProgressMeter.h"

class QProgressBar;

namespace velmar {

class ProgressFollower : public QObject {
public:
    explicit ProgressFollower(QProgressBar* bar);

    // Starts following `progress` from 0; nothing stops and hides the text.
    void Follow(std::shared_ptr<const JobProgress> progress);

private:
    void Show();

    QProgressBar* bar_;
    QTimer timer_;
    QElapsedTimer clock_;
    std::shared_ptr<const JobProgress> progress_;
    ProgressMeter meter_;
};

}  // namespace velmar
