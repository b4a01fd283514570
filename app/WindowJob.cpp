#include "app/WindowJob.h"

#include "platform/Process.h"

namespace velmar {

WindowSink::WindowSink(MainWindow& window, bool deselectMarked, int firstRow)
    : window_(window), deselectMarked_(deselectMarked), firstRow_(firstRow),
      rows_(window.RowsPerBatch(), [&window](RowBatch batch) { window.ApplyRows(std::move(batch)); }) {}

void WindowSink::RowAdded(std::string_view name) { rows_.Add(name); }

void WindowSink::RowMarked(int row, StatusIcon icon, const RowDetails* details) {
    rows_.Mark(firstRow_ + row, icon, details, deselectMarked_);
}

void WindowSink::RowChanged(int row, StatusIcon icon, std::string_view text, const RowDetails& details) {
    Flush();
    window_.SetRowText(firstRow_ + row, std::string(text));
    window_.SetRowDetails(firstRow_ + row, details);
    window_.SetRowIcon(firstRow_ + row, icon);
}

void WindowSink::RowRenamed(int row, const std::string& path) {
    Flush();
    window_.SetRowRenamed(firstRow_ + row, path);
}

void WindowSink::RowsRemoved(const std::vector<int>& rows) {
    Flush();
    std::vector<int> windowRows;
    for (int row : rows) windowRows.push_back(firstRow_ + row);
    window_.RemoveRows(windowRows);
    window_.RepaintList();
}

void WindowSink::ListChecked(const std::string& listPath, const std::string& signature) {
    Flush();
    window_.SetCheckedList(listPath, signature);
}

void WindowSink::ProgressFollowed(std::shared_ptr<const JobProgress> progress) {
    Flush();
    if (progress) {
        window_.FollowProgress(std::move(progress));
        window_.RepaintWindow();
        return;
    }
    window_.FollowProgress(nullptr);
    window_.SetProgressPosition(0);
}

void WindowSink::Summary(const std::string& text) {
    Flush();
    window_.SetText(Control::Label1, text);
}

bool WindowSink::Ask(Question question, int count) {
    Flush();
    return window_.MessageBox(QuestionText(question, count), MessageButtons::YesNo) == MessageAnswer::Yes;
}

void WindowSink::Told(const std::string& message) {
    Flush();
    window_.MessageBox(message, MessageButtons::Ok);
}

void StartWindowJob(MainWindow& window, MainWindowState& state, JobBody body, WindowJobOptions options) {
    // The job's first steps may come after the next event: set here, Busy
    // closes the gap in which a second command could start on the same rows.
    state.Busy = 1;
    state.StopRequested = 0;
    state.Thread.Start([&window, &state, body = std::move(body), options = std::move(options)] {
        RunWindowJob(window, state, body, options);
    });
}

void RunWindowJob(MainWindow& window, MainWindowState& state, const JobBody& body, const WindowJobOptions& options) {
    WindowSink sink(window, options.deselectMarked);
    JobResult result;
    {
        JobFrame frame(sink, state);
        result = frame.Run([&] { body(frame); });
    }
    sink.Flush();
    // Every file the job read, the list it wrote, is let go by now.
    switch (result.end) {
        case JobEnd::Failed:
            // A job that checked nothing yet ends no program: the window
            // goes back to rest, its status line saying why.
            if (result.failure == JobFailure::NotAList || result.failure == JobFailure::BadSignatureDeclined) {
                if (result.failure == JobFailure::NotAList) window.MessageBox(result.message, MessageButtons::Ok);
                window.SetText(Control::Label1, result.signature.words.empty() ? "Velmar" : result.signature.words);
                return FinishWindowJob(window, state);
            }
            window.MessageBox(result.message, MessageButtons::Ok);
            if (!options.failureEndsProgram) break;
            EndProgram();
        case JobEnd::Quit: EndProgram();
        case JobEnd::Completed:
        case JobEnd::Stopped: break;
    }
    if (options.ending) options.ending(result);
    FinishWindowJob(window, state);
}

void StartWindowJobsInTurn(MainWindow& window, MainWindowState& state, std::vector<JobBody> bodies,
                           std::function<void(std::size_t)> beforeEach,
                           std::function<void(const std::vector<JobResult>&)> ending) {
    state.Busy = 1;
    state.StopRequested = 0;
    state.Thread.Start([&window, &state, bodies = std::move(bodies), beforeEach = std::move(beforeEach),
                        ending = std::move(ending)] {
        std::vector<JobResult> results;
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            if (beforeEach) beforeEach(i);
            WindowSink sink(window, false, window.RowCount());
            {
                JobFrame frame(sink, state);
                results.push_back(frame.Run([&] { bodies[i](frame); }));
            }
            sink.Flush();
            const JobResult& result = results.back();
            if (result.end == JobEnd::Quit) EndProgram();
            if (result.end == JobEnd::Failed && result.failure != JobFailure::BadSignatureDeclined)
                window.MessageBox(result.message, MessageButtons::Ok);
            if (result.end == JobEnd::Stopped) break;
        }
        if (ending) ending(results);
        FinishWindowJob(window, state);
    });
}

void FinishWindowJob(MainWindow& window, MainWindowState& state) {
    window.SetBusyCursor(false);
    // A stop asked for now is for no job; the next one starts afresh.
    state.StopRequested = 0;
    state.Busy = 0;
    if (state.QuitRequested) EndProgram();
}

}  // namespace velmar
