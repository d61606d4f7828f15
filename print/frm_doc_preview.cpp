#include "print/frm_doc_preview.h"

#include "dialogs/user_dialogs.h"
#include "storage/tamix_error.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <cmath>

namespace tamix {
namespace {

constexpr int kClientWidth = 9780;  // twips
constexpr int kClientHeight = 6480;
const char* const kCanvasTwips = "tamix-twips";  // image text: the page size a canvas stands for

int twipsPerPixel(qreal dpi) { return std::max(1, qRound(1440.0 / (dpi > 0 ? dpi : 96.0))); }

void processPendingEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// The pictures of the three picture buttons: a printer, and a magnifier with
// a plus or a minus.
QIcon buttonIcon(const QString& which) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 1.6));
    if (which == QLatin1String("print")) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(0x90, 0xa4, 0xae));
        p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 14, 10, 7));
    } else {
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 3, 13, 13));
        p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.5, 14.5), QPointF(20.5, 20.5));
        p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 1.8));
        p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
        if (which == QLatin1String("in")) p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
    }
    return QIcon(pixmap);
}

}  // namespace

const std::array<const char*, frmDocPreview::kScales> frmDocPreview::kScaleTexts = {"150", "100", "75", "50", "25"};

frmDocPreview::frmDocPreview(const QTextDocument& document, QPrinter& printer, const PageMargins& margins,
                             bool& printRequested, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      printer_(printer),
      printRequested_(printRequested),
      dialogs_(dialogs),
      engine_(document, margins) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    twipsPerPixelX_ = twipsPerPixel(screen ? screen->logicalDotsPerInchX() : 96.0);
    twipsPerPixelY_ = twipsPerPixel(screen ? screen->logicalDotsPerInchY() : 96.0);
    setWindowTitle(QStringLiteral("Preview"));
    buildControls();

    const QSize page = DocWYSIWYG();
    PicX_ = makeCanvas(page.width(), page.height());
    picP_ = makeCanvas(page.width(), page.height());
    const auto scaled = [&](double w, double h) {
        const auto twips = [](double v) { return static_cast<int>(std::clamp(std::lround(v), 1L, 32767L)); };
        return QSize(std::max(1, twips(w) / twipsPerPixelX_), std::max(1, twips(h) / twipsPerPixelY_));
    };
    const double growth = std::sqrt(1.5);
    scaleSize_ = {scaled(page.width() * growth, page.height() * growth), PicX_.size(),
                  scaled(75.0 * page.width() / 100, 75.0 * page.height() / 100),
                  scaled(50.0 * page.width() / 100, 50.0 * page.height() / 100),
                  scaled(25.0 * page.width() / 100, 25.0 * page.height() / 100)};
    for (int k = 0; k < kScales; ++k) Pic_[k]->setFixedSize(scaleSize_[k] + QSize(2, 2));
}

frmDocPreview::~frmDocPreview() = default;

void frmDocPreview::buildControls() {
    const auto at = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(left / twipsPerPixelX_, top / twipsPerPixelY_, width / twipsPerPixelX_,
                       height > 0 ? height / twipsPerPixelY_ : w->sizeHint().height());
    };
    const auto pictureButton = [&](const char* name, const char* which, const char* tip, int left) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(buttonIcon(QLatin1String(which)));
        b->setIconSize(QSize(20, 20));
        b->setToolTip(QLatin1String(tip));
        at(b, left, 60, 405, 405);
        return b;
    };
    const auto button = [&](const char* name, const char* caption, const char* tip, int left, int top, int w,
                            int h) {
        auto* b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        if (tip) b->setToolTip(QLatin1String(tip));
        b->setAutoDefault(false);
        at(b, left, top, w, h);
        return b;
    };
    setFixedSize(kClientWidth / twipsPerPixelX_, kClientHeight / twipsPerPixelY_);
    cmdPrint_ = pictureButton("cmdPrint", "print", "Print", 270);
    cmdZoomIn_ = pictureButton("cmdZoomIn", "in", "Zoom in", 1200);
    cmdZoomOut_ = pictureButton("cmdZoomOut", "out", "Zoom out", 1680);
    cboScale_ = new QComboBox(this);
    cboScale_->setObjectName(QStringLiteral("cboScale"));
    at(cboScale_, 2220, 60, 855, 0);
    cmdPrevPage_ = button("cmdPrevPage", "<", "Prev page", 4680, 90, 315, 345);
    cboPageNo_ = new QComboBox(this);
    cboPageNo_->setObjectName(QStringLiteral("cboPageNo"));
    at(cboPageNo_, 5040, 60, 825, 0);
    cmdNextPage_ = button("cmdNextPage", ">", "Next page", 5940, 90, 315, 345);
    cmdClose_ = button("cmdClose", "Close", nullptr, 8190, 60, 825, 390);

    PicZ_ = new QFrame(this);
    PicZ_->setObjectName(QStringLiteral("PicZ"));
    PicZ_->setFrameShape(QFrame::Box);
    PicZ_->setLineWidth(1);
    PicZ_->setAutoFillBackground(true);
    QPalette grey = PicZ_->palette();
    grey.setColor(QPalette::Window, QColor(0xb4, 0xb4, 0xb4));
    PicZ_->setPalette(grey);
    at(PicZ_, 60, 510, 9345, 5535);
    viewport_ = new QWidget(PicZ_);
    viewport_->setGeometry(PicZ_->contentsRect());
    for (int k = 0; k < kScales; ++k) {
        auto* label = new QLabel(viewport_);
        label->setObjectName(QStringLiteral("Pic%1").arg(k + 1));
        label->setFrameShape(QFrame::Box);
        label->setLineWidth(1);
        label->setAutoFillBackground(true);
        QPalette white = label->palette();
        white.setColor(QPalette::Window, Qt::white);
        label->setPalette(white);
        label->hide();
        Pic_[k] = label;
    }
    VScroll1_ = new QScrollBar(Qt::Vertical, this);
    VScroll1_->setObjectName(QStringLiteral("VScroll1"));
    at(VScroll1_, 9480, 510, 255, 5535);
    HScroll1_ = new QScrollBar(Qt::Horizontal, this);
    HScroll1_->setObjectName(QStringLiteral("HScroll1"));
    at(HScroll1_, 60, 6120, 9375, 255);

    connect(cmdPrint_, &QToolButton::clicked, this, [this] {
        printRequested_ = true;
        close();
    });
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdZoomIn_, &QToolButton::clicked, this, [this] { zoom(-1); });
    connect(cmdZoomOut_, &QToolButton::clicked, this, [this] { zoom(+1); });
    connect(cboScale_, &QComboBox::activated, this, [this](int index) { chooseScale(index); });
    connect(cboPageNo_, &QComboBox::activated, this, [this](int index) { choosePage(index); });
    connect(cmdPrevPage_, &QPushButton::clicked, this, [this] {
        if (pageCount_ != 1 && shownPage() > 1) {
            cboPageNo_->setCurrentIndex(cboPageNo_->currentIndex() - 1);
            choosePage(cboPageNo_->currentIndex());
        }
    });
    connect(cmdNextPage_, &QPushButton::clicked, this, [this] {
        if (pageCount_ != 1 && shownPage() < pageCount_) {
            cboPageNo_->setCurrentIndex(cboPageNo_->currentIndex() + 1);
            choosePage(cboPageNo_->currentIndex());
        }
    });
    connect(HScroll1_, &QScrollBar::valueChanged, this, [this] { positionImage(); });
    connect(VScroll1_, &QScrollBar::valueChanged, this, [this] { positionImage(); });
}

QImage frmDocPreview::makeCanvas(int widthTwips, int heightTwips) const {
    QImage canvas(std::max(1, widthTwips / twipsPerPixelX_), std::max(1, heightTwips / twipsPerPixelY_),
                  QImage::Format_RGB32);
    canvas.setDotsPerMeterX(qRound(1440.0 / twipsPerPixelX_ / 0.0254));
    canvas.setDotsPerMeterY(qRound(1440.0 / twipsPerPixelY_ / 0.0254));
    canvas.setText(QLatin1String(kCanvasTwips), QStringLiteral("%1 %2").arg(widthTwips).arg(heightTwips));
    canvas.fill(Qt::white);
    return canvas;
}

QSize frmDocPreview::canvasTwips(const QImage& canvas) const {
    // A canvas of this window stands for the exact page it was made for, so
    // that its pages break where the printer's do.
    const QStringList made = canvas.text(QLatin1String(kCanvasTwips)).split(QLatin1Char(' '));
    if (made.size() == 2) return {made[0].toInt(), made[1].toInt()};
    return {canvas.width() * twipsPerPixelX_, canvas.height() * twipsPerPixelY_};
}

int frmDocPreview::shownPage() const { return cboPageNo_->currentIndex() + 1; }

QSize frmDocPreview::DocWYSIWYG() const {
    const QRectF sheet = printer_.pageLayout().fullRectPoints();
    return {static_cast<int>(std::lround(sheet.width() * 20)), static_cast<int>(std::lround(sheet.height() * 20))};
}

void frmDocPreview::FormPreviewPage(QImage& canvas, int page) {
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    engine_.drawPage(painter, canvasTwips(canvas), page);
}

int frmDocPreview::PageCtnProc(QImage& canvas) {
    const int count = engine_.pageCount(canvasTwips(canvas));
    canvas.fill(Qt::white);
    return count;
}

void frmDocPreview::DocPrintProc() {
    processPendingEvents();
    pageCount_ = PageCtnProc(PicX_);
    picP_.fill(Qt::white);
    PrintRequest request;
    request.minPage = 1;
    request.maxPage = pageCount_;
    request.fromPage = 1;
    request.toPage = pageCount_;
    request.cancelRaises = true;
    try {
        if (!dialogs_.choosePrinter(printer_, request)) return;
    } catch (const TamixError&) {
        return;  // cancelled: nothing printed, nothing said
    }
    const int first = request.fromPage > 0 ? request.fromPage : 1;
    const int last = request.fromPage > 0 ? request.toPage : pageCount_;
    printer_.setFullPage(true);
    engine_.printPages(printer_, DocWYSIWYG(), first, last);
}

bool frmDocPreview::Load() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    printRequested_ = false;
    pageCount_ = PageCtnProc(PicX_);
    cboPageNo_->clear();
    for (int page = 1; page <= pageCount_; ++page) cboPageNo_->addItem(QString::number(page));
    cboPageNo_->setCurrentIndex(0);
    setNavigationButtons();
    VScroll1_->setMaximum(1000);
    HScroll1_->setMaximum(1000);
    cboScale_->clear();
    for (const char* text : kScaleTexts) cboScale_->addItem(QLatin1String(text));
    cboScale_->setCurrentIndex(kScales - 1);
    FormPreviewPage(PicX_, 1);
    if (!buildScaleImages()) {
        QApplication::restoreOverrideCursor();
        return false;
    }
    QApplication::restoreOverrideCursor();
    PicZ_->show();
    scaleIndex_ = kScales;
    showScale();
    return true;
}

bool frmDocPreview::buildScaleImages() {
    for (int k = 0; k < kScales; ++k) {
        processPendingEvents();
        QImage image = PicX_.scaled(scaleSize_[k], Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (image.isNull()) {
            dialogs_.message(QStringLiteral("Error occurred in sizing images. Cannot continue"), MsgButtons::Ok);
            return false;
        }
        scaled_[k] = std::move(image);
        Pic_[k]->setPixmap(QPixmap::fromImage(scaled_[k]));
    }
    return true;
}

void frmDocPreview::showScale() {
    for (int k = 0; k < kScales; ++k) Pic_[k]->setVisible(k == scaleIndex_ - 1);
    const QLabel* image = Pic_[scaleIndex_ - 1];
    VScroll1_->setMaximum(std::max(0, image->height() - viewport_->height()));
    HScroll1_->setMaximum(std::max(0, image->width() - viewport_->width()));
    positionImage();
}

void frmDocPreview::positionImage() { Pic_[scaleIndex_ - 1]->move(-HScroll1_->value(), -VScroll1_->value()); }

void frmDocPreview::setNavigationButtons() {
    const int page = shownPage();
    cmdPrevPage_->setEnabled(pageCount_ != 1 && page != 1);
    cmdNextPage_->setEnabled(pageCount_ != 1 && page != pageCount_);
}

void frmDocPreview::setZoomButtons() {
    cmdZoomIn_->setEnabled(scaleIndex_ != 1);
    cmdZoomOut_->setEnabled(scaleIndex_ != kScales);
}

void frmDocPreview::choosePage(int index) {
    if (index < 0) return;
    setNavigationButtons();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FormPreviewPage(PicX_, index + 1);
    const bool built = buildScaleImages();
    QApplication::restoreOverrideCursor();
    if (built) showScale();
}

void frmDocPreview::chooseScale(int index) {
    if (index < 0 || index >= kScales) return;
    scaleIndex_ = index + 1;
    setZoomButtons();
    showScale();
}

void frmDocPreview::zoom(int step) {
    const int index = scaleIndex_ + step;
    if (index < 1 || index > kScales) return;
    cboScale_->setCurrentIndex(index - 1);
    chooseScale(index - 1);
}

}  // namespace tamix
