#pragma once

namespace tamix {

// The unit the main window measures paragraph lengths in for the dialogs
// that show them: twips normally, inches while the bullet or paragraph
// dialog is open. The editor itself always works in twips.
class WindowScale {
public:
    enum class Mode { Twips, Inches };
    static constexpr double kTwipsPerInch = 1440.0;

    Mode mode() const { return mode_; }
    void setMode(Mode mode) { mode_ = mode; }
    // A length in twips as the current unit shows it, and back.
    double fromTwips(double twips) const;
    double toTwips(double units) const;

    // Switches `scale` to inches for its lifetime and back to twips when it
    // ends, however it ends.
    class Inches {
    public:
        explicit Inches(WindowScale& scale) : scale_(scale) { scale_.setMode(Mode::Inches); }
        ~Inches() { scale_.setMode(Mode::Twips); }
        Inches(const Inches&) = delete;
        Inches& operator=(const Inches&) = delete;

    private:
        WindowScale& scale_;
    };

private:
    Mode mode_ = Mode::Twips;
};

}  // namespace tamix
