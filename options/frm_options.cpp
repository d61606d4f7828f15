#include "options/frm_options.h"

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "dialogs/settings.h"
#include "dialogs/user_dialogs.h"
#include "options/date_pattern.h"
#include "storage/tamix_error.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"
#include "tree/tree_manager.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tamix {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kStartup = QStringLiteral("Startup");

// The font sizes the editor can take, in points.
constexpr double kMinFontSize = 1;
constexpr double kMaxFontSize = 1638;

QColor FromBgr(quint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

quint32 ToBgr(const QColor& colour) {
    return static_cast<quint32>(colour.red()) | static_cast<quint32>(colour.green()) << 8 |
           static_cast<quint32>(colour.blue()) << 16;
}

QPushButton* EllipsisButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    return button;
}

}  // namespace

const QStringList& frmOptions::DatePresets() {
    static const QStringList presets{"yyyy.mm.dd", "m/d/yy",        "m/d/yyyy",     "mm/dd/yy",     "mm/dd/yyyy",
                                     "yy/mm/dd",   "dd-mmm-yy",     "mmmm dd, yyyy", "dd mmmm, yyyy"};
    return presets;
}

const QStringList& frmOptions::TimePresets() {
    static const QStringList presets{"hh:mm:ss", "hh:mm", "h:mm:ss am/pm", "h:mm am/pm"};
    return presets;
}

frmOptions::frmOptions(AppOptions& options, Settings& settings, DatabaseState& state, UserDialogs& dialogs,
                       TreeHost& host, Clock clock, QWidget* parent)
    : QDialog(parent),
      options_(options),
      settings_(settings),
      state_(state),
      dialogs_(dialogs),
      host_(host),
      clock_(std::move(clock)) {
    setWindowTitle(QStringLiteral("Options"));
    setObjectName(QStringLiteral("frmOptions"));
    buildControls();
    fillFromOptions();
}

frmOptions::~frmOptions() = default;

void frmOptions::buildControls() {
    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto label = [&](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QLatin1String(text), this);
        l->setBuddy(buddy);
        grid->addWidget(l, row, 0);
    };

    txtFileName_ = new QLineEdit(this);
    txtFileName_->setObjectName(QStringLiteral("txtFileName"));
    txtFileName_->setMinimumWidth(320);
    btnGetFileName_ = EllipsisButton("btnGetFileName", this);
    label("File to Open on Startup:", txtFileName_);
    grid->addWidget(txtFileName_, row, 1, 1, 2);
    grid->addWidget(btnGetFileName_, row++, 3);

    txtFont_ = new QLineEdit(this);
    txtFont_->setObjectName(QStringLiteral("txtFont"));
    txtFontSize_ = new QLineEdit(this);
    txtFontSize_->setObjectName(QStringLiteral("txtFontSize"));
    txtFontSize_->setMaximumWidth(txtFontSize_->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 12);
    btnGetFont_ = EllipsisButton("btnGetFont", this);
    label("Default Font:", txtFont_);
    grid->addWidget(txtFont_, row, 1);
    grid->addWidget(txtFontSize_, row, 2);
    grid->addWidget(btnGetFont_, row++, 3);

    txtColour_ = new QLineEdit(QLatin1String(kColourSample), this);
    txtColour_->setObjectName(QStringLiteral("txtColour"));
    txtColour_->setReadOnly(true);
    btnGetColour_ = EllipsisButton("btnGetColour", this);
    label("Default Link Colour:", txtColour_);
    grid->addWidget(txtColour_, row, 1, 1, 2);
    grid->addWidget(btnGetColour_, row++, 3);

    cmbDate_ = new QComboBox(this);
    cmbDate_->setObjectName(QStringLiteral("cmbDate"));
    cmbDate_->setEditable(false);
    label("Insert Date Format:", cmbDate_);
    grid->addWidget(cmbDate_, row++, 1, 1, 2);

    cmbTime_ = new QComboBox(this);
    cmbTime_->setObjectName(QStringLiteral("cmbTime"));
    cmbTime_->setEditable(true);
    cmbTime_->setInsertPolicy(QComboBox::NoInsert);
    label("Insert Time Format:", cmbTime_);
    grid->addWidget(cmbTime_, row++, 1, 1, 2);

    lblNow_ = new QLabel(this);
    lblNow_->setObjectName(QStringLiteral("lblNow"));
    grid->addWidget(lblNow_, row++, 1, 1, 3);

    rtfTemp_ = new controls::RichTextBox(this);
    rtfTemp_->setObjectName(QStringLiteral("rtfTemp"));
    rtfTemp_->hide();

    btnOK_ = new QPushButton(QStringLiteral("OK"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    grid->addLayout(buttons, row, 0, 1, 4);

    connect(btnGetFileName_, &QPushButton::clicked, this, [this] { btnGetFileName_Click(); });
    connect(btnGetFont_, &QPushButton::clicked, this, [this] { btnGetFont_Click(); });
    connect(btnGetColour_, &QPushButton::clicked, this, [this] { btnGetColour_Click(); });
    connect(btnOK_, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    // A choice from either list updates the preview; typing a time does not.
    connect(cmbDate_, &QComboBox::activated, this, [this] { updatePreview(); });
    connect(cmbTime_, &QComboBox::activated, this, [this] { updatePreview(); });
}

void frmOptions::fillFromOptions() {
    txtFileName_->setText(options_.StartupFile);
    txtFont_->setText(options_.DefaultFontName);
    txtFontSize_->setText(QString::number(options_.DefaultFontSize));
    setSampleColour(FromBgr(options_.LinkColour));
    cmbDate_->addItems(DatePresets());
    cmbTime_->addItems(TimePresets());
    // The date box is a fixed list: a stored pattern it does not hold shows
    // as the first preset.
    cmbDate_->setCurrentIndex(std::max<qsizetype>(0, DatePresets().indexOf(options_.DateFormat)));
    cmbTime_->setCurrentText(options_.TimeFormat);
    updatePreview();
}

void frmOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmOptions::setSampleColour(const QColor& colour) {
    sampleColour_ = colour;
    QPalette palette = txtColour_->palette();
    palette.setColor(QPalette::Text, colour);
    txtColour_->setPalette(palette);
}

quint32 frmOptions::SampleColour() const { return ToBgr(sampleColour_); }

void frmOptions::updatePreview() {
    const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
    lblNow_->setText(QStringLiteral("Now: ") + DatePattern::Format(cmbDate_->currentText(), now) +
                     QStringLiteral(" @ ") + DatePattern::Format(cmbTime_->currentText(), now));
}

std::optional<double> frmOptions::fontSizeBox() const {
    bool ok = false;
    const double points = txtFontSize_->text().trimmed().toDouble(&ok);
    if (!ok || points < kMinFontSize || points > kMaxFontSize) return std::nullopt;
    return points;
}

void frmOptions::btnGetFileName_Click() {
    // The chooser only answers a path: the open database's CurrentFileName
    // is never touched, whatever it is answered.
    RunCommand(host_, [this] {
        FileDialogRequest request;
        request.title = QStringLiteral("Select Tamix Database to open");
        request.filter = QString::fromLatin1(TreeManager::kFileFilter);
        request.filterIndex = 1;
        request.mustExist = true;
        request.cancelRaises = true;
        const QString chosen = dialogs_.openFile(request);
        if (!chosen.isEmpty()) txtFileName_->setText(chosen);
    });
}

void frmOptions::btnGetFont_Click() {
    const std::optional<double> size = fontSizeBox();
    if (!size) return;
    QFont initial(txtFont_->text());
    initial.setPointSizeF(*size);
    RunCommand(host_, [&] {
        const std::optional<QFont> chosen = dialogs_.chooseFont(initial);
        if (!chosen) return;
        txtFont_->setText(chosen->family());
        if (chosen->pointSizeF() > 0) txtFontSize_->setText(QString::number(chosen->pointSizeF()));
    });
}

void frmOptions::btnGetColour_Click() {
    RunCommand(host_, [this] {
        const std::optional<QColor> chosen = dialogs_.chooseColour(sampleColour_);
        if (chosen && chosen->isValid()) setSampleColour(*chosen);
    });
}

void frmOptions::btnOK_Click() {
    // A size that is no number must reach neither the options nor the
    // hidden box: refused before anything is committed.
    const std::optional<double> size = fontSizeBox();
    if (!size) {
        dialogs_.message(QStringLiteral("Invalid Font Size"), MsgButtons::Ok, MsgIcon::Exclamation);
        txtFontSize_->setFocus();
        txtFontSize_->selectAll();
        return;
    }

    const QString file = txtFileName_->text().trimmed();
    if (file.isEmpty() || QFileInfo(file).isFile()) {
        options_.StartupFile = file;
        settings_.setString(kStartup, QStringLiteral("FileName"), file);
    } else {
        dialogs_.message(QStringLiteral("Invalid Filename"));
    }

    options_.DefaultFontName = txtFont_->text();
    options_.DefaultFontSize = *size;
    rtfTemp_->setFontName(options_.DefaultFontName);
    rtfTemp_->setFontSize(options_.DefaultFontSize);
    rtfTemp_->setText(QString());
    state_.EmptyNoteRTF = rtfTemp_->TextRTF();
    settings_.setString(kStartup, QStringLiteral("Font"), options_.DefaultFontName);
    settings_.setString(kStartup, QStringLiteral("FontSize"), QString::number(options_.DefaultFontSize));

    options_.LinkColour = SampleColour();
    settings_.setInt(kStartup, QStringLiteral("LinkColour"), static_cast<qint32>(options_.LinkColour));

    options_.DateFormat = cmbDate_->currentText();
    options_.TimeFormat = cmbTime_->currentText();
    settings_.setString(kSettings, QStringLiteral("Date Format"), options_.DateFormat);
    settings_.setString(kSettings, QStringLiteral("Time Format"), options_.TimeFormat);
    settings_.sync();
    accept();
}

}  // namespace tamix
