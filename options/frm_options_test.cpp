#include "options/frm_options.h"

#include "dialogs/app_options.h"
#include "testing/main_window_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace tamix {
namespace {

class FrmOptionsTest : public MainWindowFixture {
protected:
    // Opens the options dialog and runs `script` on it while it is shown.
    void options(std::function<void(frmOptions&)> script) {
        dialogs_.answer(ScriptedAnswer::Form([script](QDialog& form) { script(dynamic_cast<frmOptions&>(form)); }));
        trigger("mnuToolsOptions");
    }
    QString stored(const char* section, const char* key) {
        return settings_->getString(QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
    }
    QString database(const char* name) {
        const QString file = path(QLatin1String(name));
        TestDatabase::write(file, {{2, 1, "First"}});
        return file;
    }
    static void choose(QComboBox* box, const QString& text) {
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

bool Matches(const QString& text, const char* pattern) {
    return QRegularExpression(QLatin1String(pattern)).match(text).hasMatch();
}

TEST_F(FrmOptionsTest, FirstRunShowsTheDefaultsWithTheWindowNotOnTop) {
    frmMain& w = start();
    w.SetAlwaysOnTop(true);
    options([](frmOptions& f) {
        EXPECT_EQ(f.windowTitle(), "Options");
        EXPECT_EQ(f.txtFileName()->text(), "");
        EXPECT_EQ(f.txtFont()->text(), "MS Sans Serif");
        EXPECT_EQ(f.txtFontSize()->text(), "8");
        EXPECT_EQ(f.SampleColour(), 0xFF0000u);  // blue
        EXPECT_EQ(f.txtColour()->text(), frmOptions::kColourSample);
        EXPECT_EQ(f.cmbDate()->currentText(), "yyyy.mm.dd");
        EXPECT_EQ(f.cmbTime()->currentText(), "HH:mm");
        EXPECT_EQ(f.cmbTime()->findText("HH:mm"), -1);  // typed, not a preset
        EXPECT_TRUE(Matches(f.lblNow()->text(), "^Now: \\d{4}\\.\\d\\d\\.\\d\\d @ \\d\\d:\\d\\d$"))
            << f.lblNow()->text().toStdString();
    });
    EXPECT_TRUE(dialogs_.asked().back().topmostDropped);
    EXPECT_TRUE(w.AlwaysOnTop());
}

TEST_F(FrmOptionsTest, ChoosingADatePatternUpdatesThePreviewAndOkStoresIt) {
    frmMain& w = start(database("dates.TM2"));
    options([](frmOptions& f) {
        choose(f.cmbDate(), "mmmm dd, yyyy");
        EXPECT_TRUE(Matches(f.lblNow()->text(), "^Now: [A-Z][a-z]+ \\d\\d, \\d{4} @ \\d\\d:\\d\\d$"))
            << f.lblNow()->text().toStdString();
        f.cmbTime()->setEditText("hh");  // typing does not update the preview
        EXPECT_TRUE(Matches(f.lblNow()->text(), "@ \\d\\d:\\d\\d$"));
        f.btnOK()->click();
    });
    EXPECT_EQ(w.options().DateFormat, "mmmm dd, yyyy");
    EXPECT_EQ(w.options().TimeFormat, "hh");
    EXPECT_EQ(stored("Settings", "Date Format"), "mmmm dd, yyyy");
    EXPECT_EQ(stored("Settings", "Time Format"), "hh");
    click(2);
    w.rtfMain().setFocus();
    QApplication::processEvents();
    trigger("mnuInsertDate");
    EXPECT_TRUE(Matches(w.rtfMain().Text(), "^[A-Z][a-z]+ \\d\\d, \\d{4}First")) << w.rtfMain().Text().toStdString();
}

TEST_F(FrmOptionsTest, TheStartupFileChooserNeverChangesTheOpenDatabase) {
    const QString open = database("open.TM2");
    const QString other = database("other.TM2");
    for (const bool confirm : {false, true}) {
        frmMain& w = start(open);
        options([&](frmOptions& f) {
            dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, other));
            f.btnGetFileName()->click();
            EXPECT_EQ(f.txtFileName()->text(), other);
            EXPECT_EQ(w.state().CurrentFileName, open);
            (confirm ? f.btnOK() : f.btnCancel())->click();
        });
        EXPECT_EQ(dialogs_.asked().back().file.title, "Select Tamix Database to open");
        EXPECT_EQ(w.state().CurrentFileName, open) << confirm;
        EXPECT_EQ(w.options().StartupFile, confirm ? other : QString()) << confirm;
        EXPECT_EQ(stored("Startup", "FileName"), confirm ? other : "<none>") << confirm;
    }
}

TEST_F(FrmOptionsTest, AnInvalidFilenameStillCommitsAPureRedLinkColour) {
    frmMain& w = start();
    options([&](frmOptions& f) {
        f.txtFileName()->setText(path("missing.TM2"));
        dialogs_.answer(ScriptedAnswer::Colour(QColor(255, 0, 0)));
        f.btnGetColour()->click();
        answer(MsgAnswer::Ok);
        f.btnOK()->click();
    });
    EXPECT_EQ(dialogs_.messages(), QStringList{"Invalid Filename"});
    EXPECT_EQ(w.options().StartupFile, "");
    EXPECT_EQ(w.options().LinkColour, 255u);
    EXPECT_EQ(stored("Startup", "LinkColour"), "255");
    EXPECT_EQ(dialogs_.lastColour(), QColor(255, 0, 0));  // the editor's colour dialog opens with it
}

TEST_F(FrmOptionsTest, AFontSizeThatIsNoNumberKeepsTheDialogOpen) {
    frmMain& w = start();
    options([this](frmOptions& f) {
        f.txtFontSize()->setText("big");
        answer(MsgAnswer::Ok);
        f.btnOK()->click();
        EXPECT_TRUE(f.isVisible());
        f.btnCancel()->click();
    });
    EXPECT_EQ(dialogs_.messages(), QStringList{"Invalid Font Size"});
    EXPECT_EQ(w.options().DefaultFontSize, 8);
    EXPECT_EQ(stored("Startup", "FontSize"), "<none>");
}

TEST_F(FrmOptionsTest, ANewNoteStartsInTheNewDefaultFace) {
    frmMain& w = start(database("notes.TM2"));
    options([this](frmOptions& f) {
        dialogs_.answer(ScriptedAnswer::Font(QFont("Courier New", 12)));
        f.btnGetFont()->click();
        EXPECT_EQ(f.txtFont()->text(), "Courier New");
        EXPECT_EQ(f.txtFontSize()->text(), "12");
        f.btnOK()->click();
    });
    EXPECT_EQ(stored("Startup", "Font"), "Courier New");
    EXPECT_EQ(stored("Startup", "FontSize"), "12");
    trigger("mnuNoteInsert");
    for (QLineEdit* line : tree().viewport()->findChildren<QLineEdit*>())
        if (line->isVisible()) QTest::keyClick(line, Qt::Key_Return);
    ASSERT_NE(w.state().ShownKey, "");
    EXPECT_EQ(w.rtfMain().SelFontName().value_or(""), "Courier New");
    EXPECT_EQ(w.rtfMain().SelFontSize().value_or(0), 12);
}

}  // namespace
}  // namespace tamix
