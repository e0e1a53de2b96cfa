#pragma once
// The copy progress window: the step of the installation run (a picture and a caption), or,
// during the copy step, the file being copied and a progress bar counted in bytes. Created
// hidden at start; the run shows it. It refuses every request to close it.
//
// The run holds the user-interface thread, so the window is brought up to date by explicit
// repaints. Repainting for every file costs more than copying a small one, so during the copy
// step the file line and the bar are painted at most every kRepaintInterval milliseconds (and
// the queue drained there, so that the program keeps answering); Flush paints what is pending.
#include <cstdint>
#include <string>

#include "language/language.h"
#include "platform/system.h"
#include "ui/form.h"

namespace script {

class CopyFilesForm {
  public:
    static constexpr std::uint64_t kRepaintInterval = 50;
    // The step line and its picture; during the copy step the file line and the bar.
    static constexpr ui::ControlName kStepText{"Label3"};
    static constexpr ui::ControlName kStepPicture{"Image"};
    static constexpr ui::ControlName kFileLine{"Label1"};
    static constexpr ui::ControlName kProgressBar{"ProgressBar"};

    CopyFilesForm();
    ui::Form& GetForm() { return form_; }

    // The clock that paces the repaints and the application whose queue is drained between
    // files. Without them (before the run) every change is painted at once and nothing drained.
    void Attach(const platform::Clock& clock, ui::Application& application);

    void SetCaption(std::string caption) { form_.SetCaption(std::move(caption)); }
    void Show() { form_.SetVisible(!stay_hidden_); }
    // An installation without any window: Show leaves the window hidden.
    void StayHidden() { stay_hidden_ = true; }
    void Hide() { form_.SetVisible(false); }

    // Step layout with this caption; repainted.
    void SetStep(const std::string& text);
    // Copy layout: picture hidden, caption empty, the bar shown, the file line "cCopyFile" + ":".
    void CopyModeOn(const language::Language& language);
    // Back to the step layout with this caption; the file line emptied, the bar hidden.
    void CopyModeOff(const std::string& text);
    // The file line; painted at once unless the last paint was less than kRepaintInterval ago.
    void ShowCopyingFile(const std::string& text);
    // Paints the pending file line and progress now.
    void Flush();

    // The range and position in bytes. The bar shows position / maximum, full when the position
    // passes the maximum or the maximum is 0 or less.
    void SetProgressRange(std::int64_t maximum);
    std::int64_t ProgressRange() const { return maximum_; }
    std::int64_t ProgressPosition() const { return position_; }
    void SetProgressPosition(std::int64_t position);
    void AdvanceProgress(std::int64_t bytes) { SetProgressPosition(position_ + bytes); }

  private:
    // Paints now, or only when the interval has passed (paced).
    void Paint(bool paced);
    void PaintBar();

    ui::Form form_;
    const platform::Clock* clock_ = nullptr;
    ui::Application* application_ = nullptr;
    std::int64_t maximum_ = 100;
    std::int64_t position_ = 0;
    std::string pending_line_;
    bool dirty_ = false;
    std::uint64_t last_paint_ = 0;
    bool painted_once_ = false;
    bool stay_hidden_ = false;
};

}  // namespace script
