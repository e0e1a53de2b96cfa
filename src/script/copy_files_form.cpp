#include "script/copy_files_form.h"

#include <algorithm>
#include <limits>

namespace script {
namespace {

constexpr std::uint32_t kButtonFace = 0xF0F0F0;

constexpr ui::ControlLayout kControls[] = {
    {CopyFilesForm::kStepText,
     2001,
     ui::Kind::Label,
     nullptr,
     {80, 21, 273, 36},
     true,
     {.vertical_center = true}},
    {CopyFilesForm::kStepPicture, 2002, ui::Kind::Picture, nullptr, {32, 21, 36, 36}},
    // Shown only while copying: it lies over the step line, which it would paint over.
    {CopyFilesForm::kFileLine, 2003, ui::Kind::Label, nullptr, {8, 8, 329, 33}, false},
    {CopyFilesForm::kProgressBar, 2004, ui::Kind::ProgressBar, nullptr, {8, 48, 345, 20}, false},
};

// The step picture: two sheets of paper, one copied onto the other, on the window's colour.
platform::Bitmap StepPicture() {
    constexpr int kSize = 36;
    platform::Bitmap picture{kSize, kSize,
                             std::vector<std::uint32_t>(std::size_t{kSize} * kSize, kButtonFace)};
    const auto sheet = [&picture](int left, int top) {
        for (int y = top; y < top + 24; ++y) {
            for (int x = left; x < left + 18; ++x) {
                const bool edge = x == left || x == left + 17 || y == top || y == top + 23;
                const bool text_line =
                    y > top + 3 && (y - top) % 4 == 0 && x > left + 3 && x < left + 14;
                picture.At(x, y) = edge ? 0x404040 : text_line ? 0x806040 : 0xFFFFFF;
            }
        }
    };
    sheet(3, 3);
    sheet(15, 9);
    return picture;
}

}  // namespace

CopyFilesForm::CopyFilesForm()
    : form_({.class_name = "TCopyFilesForm",
             .client_width = 361,
             .client_height = 77,
             .color = kButtonFace,
             .dialog_frame = true,
             .system_menu = false,
             .topmost = true}) {
    form_.AddAll(kControls);
    form_.SetCaption("Copy Files");
    form_[kStepPicture].SetPicture(StepPicture());
    // Only the program hides the window: every request to close it is refused.
    form_.on_close_request = [] {};
}

void CopyFilesForm::Attach(const platform::Clock& clock, ui::Application& application) {
    clock_ = &clock;
    application_ = &application;
}

void CopyFilesForm::SetStep(const std::string& text) {
    form_[kStepText].SetText(text);
    form_.Repaint();
}

void CopyFilesForm::CopyModeOn(const language::Language& language) {
    form_[kStepPicture].SetVisible(false);
    form_[kStepText].SetText({});
    form_[kFileLine].SetVisible(true);
    form_[kProgressBar].SetVisible(true);
    pending_line_ = language.Lookup(language::keys::cCopyFile) + ":";
    dirty_ = true;
    Paint(false);
}

void CopyFilesForm::CopyModeOff(const std::string& text) {
    dirty_ = false;
    pending_line_.clear();
    form_[kStepText].SetText(text);
    form_[kFileLine].SetText({});
    form_[kFileLine].SetVisible(false);
    form_[kProgressBar].SetVisible(false);
    form_[kStepPicture].SetVisible(true);
    form_.Repaint();
}

void CopyFilesForm::ShowCopyingFile(const std::string& text) {
    pending_line_ = text;
    dirty_ = true;
    Paint(true);
}

void CopyFilesForm::Flush() {
    Paint(false);
}

void CopyFilesForm::SetProgressRange(std::int64_t maximum) {
    maximum_ = maximum;
    dirty_ = true;
    Paint(true);
}

void CopyFilesForm::SetProgressPosition(std::int64_t position) {
    position_ = position;
    dirty_ = true;
    Paint(true);
}

void CopyFilesForm::Paint(bool paced) {
    if (!dirty_) {
        return;
    }
    const std::uint64_t now = clock_ != nullptr ? clock_->Milliseconds() : 0;
    if (paced && clock_ != nullptr && painted_once_ && now - last_paint_ < kRepaintInterval) {
        return;
    }
    dirty_ = false;
    painted_once_ = true;
    last_paint_ = now;
    form_[kFileLine].SetText(pending_line_);
    PaintBar();
    // The paced paints, many a second, paint what changed; the others follow a change of layout
    // or come before a dialog, and paint the whole window.
    if (paced) {
        form_.PaintChanges();
    } else {
        form_.Repaint();
    }
    if (application_ != nullptr) {
        application_->DrainMessages();
    }
}

void CopyFilesForm::PaintBar() {
    // The bar counts in 32 bits; a larger range is scaled down by halving both ends.
    int maximum = 1;
    int position = 1;  // a range of 0 or less: nothing to wait for, the bar is full
    if (maximum_ > 0) {
        int shift = 0;
        while ((maximum_ >> shift) > std::numeric_limits<std::int32_t>::max()) {
            ++shift;
        }
        maximum = static_cast<int>(maximum_ >> shift);
        position = static_cast<int>(std::clamp<std::int64_t>(position_, 0, maximum_) >> shift);
    }
    form_[kProgressBar].SetProgress(position, maximum);
}

}  // namespace script
