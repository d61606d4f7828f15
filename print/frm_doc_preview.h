#pragma once

#include "print/page_engine.h"

#include <QDialog>
#include <QImage>
#include <QSize>
#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTextDocument;
class QToolButton;
class QWidget;

namespace tamix {

class UserDialogs;

// The print preview window "Preview": the document as it will be printed,
// one page at a time at one of five scales in a scrollable viewport. It owns
// the canvases of the printing engine, whose four operations are its own
// (DocWYSIWYG, FormPreviewPage, PageCtnProc, DocPrintProc); they work when
// the window is not shown.
//
// Canvases measure in screen pixels (the screen's logical resolution); the
// page canvas has the printer's whole sheet at that resolution. The five
// scale images are stretched copies of it.
class frmDocPreview : public QDialog {
    Q_OBJECT

public:
    // Scale indexes 1 to 5 and their list texts.
    static constexpr int kScales = 5;
    static const std::array<const char*, kScales> kScaleTexts;  // "150", "100", "75", "50", "25"

    // `document`, `printer`, `margins`, `printRequested` and `dialogs` must
    // outlive the window. The canvases are sized from the printer's page at
    // once; Load() paginates and fills the window.
    frmDocPreview(const QTextDocument& document, QPrinter& printer, const PageMargins& margins,
                  bool& printRequested, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~frmDocPreview() override;

    // Clears the print-requested flag, counts the pages, fills the lists,
    // draws page 1, builds the scale images and shows scale "25". False when
    // a scale image could not be built (the user has been told).
    bool Load();

    // --- The printing engine -------------------------------------------------
    // The printer's whole sheet in twips (its page size in points × 20).
    QSize DocWYSIWYG() const;
    // Draws page `page` (from 1; past the last: the last) on `canvas`.
    void FormPreviewPage(QImage& canvas, int page);
    // The pages the text fills on a page of the canvas's size; leaves the canvas cleared.
    int PageCtnProc(QImage& canvas);
    // Asks for a page range in the print dialog and prints it. Cancelling
    // prints nothing; a printer that fails is left without a message.
    void DocPrintProc();

    // --- State, for the commands and tests ----------------------------------
    int pageCount() const { return pageCount_; }
    int scaleIndex() const { return scaleIndex_; }
    int shownPage() const;
    const QImage& pageCanvas() const { return PicX_; }

private:
    void buildControls();
    QImage makeCanvas(int widthTwips, int heightTwips) const;
    QSize canvasTwips(const QImage& canvas) const;
    // Stretches the page canvas onto every scale image; false after telling the user of a failure.
    bool buildScaleImages();
    void showScale();
    void positionImage();
    void setNavigationButtons();
    void setZoomButtons();
    void choosePage(int index);
    void chooseScale(int index);
    void zoom(int step);

    QPrinter& printer_;
    bool& printRequested_;
    UserDialogs& dialogs_;
    PageEngine engine_;
    int twipsPerPixelX_;
    int twipsPerPixelY_;

    QImage PicX_;                           // the page canvas, the printer's sheet at screen resolution
    QImage picP_;                           // scratch canvas
    std::array<QImage, kScales> scaled_;    // Pic1 ... Pic5 as built from PicX_
    std::array<QSize, kScales> scaleSize_;  // their sizes in pixels, fixed at construction
    int pageCount_ = 1;
    int scaleIndex_ = kScales;              // 1 to 5

    QToolButton* cmdPrint_;
    QToolButton* cmdZoomIn_;
    QToolButton* cmdZoomOut_;
    QComboBox* cboScale_;
    QPushButton* cmdPrevPage_;
    QComboBox* cboPageNo_;
    QPushButton* cmdNextPage_;
    QPushButton* cmdClose_;
    QFrame* PicZ_;
    QWidget* viewport_;                     // PicZ_'s inside: the images move in it
    QScrollBar* VScroll1_;
    QScrollBar* HScroll1_;
    std::array<QLabel*, kScales> Pic_;
};

}  // namespace tamix
