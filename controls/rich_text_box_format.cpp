// RichTextBox: the character and paragraph format of the selection, and the
// base font.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <cmath>

#include "controls/format_scan.h"
#include "controls/rich_text_box.h"
#include "rtf/text_document_adapter.h"

namespace tamix::controls {

using rtf::TextDocumentAdapter;

namespace {

constexpr int kProtected = TextDocumentAdapter::ProtectedProperty;
constexpr int kBulletIndent = TextDocumentAdapter::BulletIndentProperty;
// The document's length unit: the RTF bridge keeps twips / 15 (pixels at
// 96 dpi) in block formats.
constexpr double kTwipsPerUnit = 15.0;
// The bullet indent a bulleted paragraph has until one is set.
constexpr int kDefaultBulletIndent = 360;

Tristate toTristate(std::optional<QVariant> value) {
    if (!value) {
        return Tristate::Mixed;
    }
    return value->toBool() ? Tristate::On : Tristate::Off;
}

// Rounds a length read back from the document to a millionth of a twip, so
// that values set come back as set.
double cleanTwips(double twips) {
    return std::round(twips * 1e6) / 1e6;
}

}  // namespace

// --- Scans ---------------------------------------------------------------

std::optional<QVariant> RichTextBox::charValue(
    const std::function<QVariant(const QTextCharFormat&)>& read) const {
    QTextCursor c = textCursor();
    std::optional<QVariant> first;
    bool mixed = false;
    if (c.hasSelection()) {
        FormatScan::chars(*document(), c.selectionStart(), c.selectionEnd(), [&](const QTextCharFormat& f) {
            QVariant v = read(f);
            if (!first) {
                first = v;
            } else if (v != *first) {
                mixed = true;
            }
            return !mixed;
        });
    }
    if (mixed) {
        return std::nullopt;
    }
    if (!first) {
        first = read(c.charFormat());  // the typing format
    }
    return first;
}

Tristate RichTextBox::charFlag(const std::function<bool(const QTextCharFormat&)>& read) const {
    return toTristate(charValue([&](const QTextCharFormat& f) { return QVariant(read(f)); }));
}

std::optional<QVariant> RichTextBox::blockValue(const std::function<QVariant(const QTextBlock&)>& read) const {
    QTextCursor c = textCursor();
    std::optional<QVariant> first;
    bool mixed = false;
    FormatScan::blocks(*document(), c.selectionStart(), c.selectionEnd(), [&](const QTextBlock& block) {
        QVariant v = read(block);
        if (!first) {
            first = v;
        } else if (v != *first) {
            mixed = true;
        }
        return !mixed;
    });
    if (mixed || !first) {
        return std::nullopt;
    }
    return first;
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat& format, bool protection) {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        Batch batch(*this);
        mergeCurrentCharFormat(format);
        return;
    }
    if (!protection && rangeProtected(c.selectionStart(), c.selectionEnd())) {
        beep();
        return;
    }
    Batch batch(*this);
    std::optional<RichTextBoxGuard::Trust> lift;  // changing protection is the one edit protected text takes
    if (protection) {
        lift.emplace(guard_);
    }
    c.mergeCharFormat(format);
}

void RichTextBox::changeBlockFormats(const std::function<void(QTextBlockFormat&)>& change) {
    QTextCursor c = textCursor();
    Batch batch(*this);
    std::vector<QTextBlock> touched;
    FormatScan::blocks(*document(), c.selectionStart(), c.selectionEnd(), [&](const QTextBlock& block) {
        touched.push_back(block);
        return true;
    });
    QTextCursor editor(document());
    editor.beginEditBlock();
    for (const QTextBlock& block : touched) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        editor.setPosition(block.position());
        editor.setBlockFormat(format);
    }
    editor.endEditBlock();
}

// --- Character format ----------------------------------------------------

Tristate RichTextBox::SelBold() const {
    return charFlag([](const QTextCharFormat& f) { return f.fontWeight() >= QFont::DemiBold; });
}

void RichTextBox::setSelBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(f);
}

Tristate RichTextBox::SelItalic() const {
    return charFlag([](const QTextCharFormat& f) { return f.fontItalic(); });
}

void RichTextBox::setSelItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSelectionFormat(f);
}

Tristate RichTextBox::SelUnderline() const {
    return charFlag([](const QTextCharFormat& f) { return f.fontUnderline(); });
}

void RichTextBox::setSelUnderline(bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeSelectionFormat(f);
}

Tristate RichTextBox::SelStrikeThru() const {
    return charFlag([](const QTextCharFormat& f) { return f.fontStrikeOut(); });
}

void RichTextBox::setSelStrikeThru(bool on) {
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeSelectionFormat(f);
}

Tristate RichTextBox::SelProtected() const {
    return charFlag([](const QTextCharFormat& f) { return f.boolProperty(kProtected); });
}

void RichTextBox::setSelProtected(bool on) {
    QTextCharFormat f;
    f.setProperty(kProtected, on);
    mergeSelectionFormat(f, true);
}

std::optional<QString> RichTextBox::SelFontName() const {
    QString fallback = document()->defaultFont().family();
    auto v = charValue([&](const QTextCharFormat& f) {
        QStringList families = f.fontFamilies().toStringList();
        return QVariant(families.isEmpty() || families.first().isEmpty() ? fallback : families.first());
    });
    if (!v) {
        return std::nullopt;
    }
    return v->toString();
}

void RichTextBox::setSelFontName(const QString& name) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name});
    mergeSelectionFormat(f);
}

std::optional<double> RichTextBox::SelFontSize() const {
    double fallback = document()->defaultFont().pointSizeF();
    auto v = charValue([&](const QTextCharFormat& f) {
        return QVariant(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : fallback);
    });
    if (!v) {
        return std::nullopt;
    }
    return v->toDouble();
}

void RichTextBox::setSelFontSize(double points) {
    if (!(points > 0)) {
        return;
    }
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeSelectionFormat(f);
}

std::optional<quint32> RichTextBox::SelColor() const {
    auto v = charValue([](const QTextCharFormat& f) {
        if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush) {
            return QVariant(0u);
        }
        QColor c = f.foreground().color();
        return QVariant(static_cast<quint32>(c.red() | (c.green() << 8) | (c.blue() << 16)));
    });
    if (!v) {
        return std::nullopt;
    }
    return v->toUInt();
}

void RichTextBox::setSelColor(quint32 bgr) {
    QTextCharFormat f;
    f.setForeground(QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    mergeSelectionFormat(f);
}

// --- Paragraph format ------------------------------------------------------

Tristate RichTextBox::SelBullet() const {
    return toTristate(blockValue([](const QTextBlock& b) { return QVariant(b.textList() != nullptr); }));
}

void RichTextBox::setSelBullet(bool on) {
    QTextCursor c = textCursor();
    Batch batch(*this);
    if (on) {
        if (SelBullet() == Tristate::On) {
            return;
        }
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        // One indent step: the label is drawn left of the text, so it needs that
        // room even in a paragraph without a left indent.
        list.setIndent(1);
        c.createList(list);
        return;
    }
    std::vector<QTextBlock> touched;
    FormatScan::blocks(*document(), c.selectionStart(), c.selectionEnd(), [&](const QTextBlock& block) {
        touched.push_back(block);
        return true;
    });
    for (const QTextBlock& block : touched) {
        if (QTextList* list = block.textList()) {
            list->remove(block);
        }
    }
}

std::optional<int> RichTextBox::SelAlignment() const {
    auto v = blockValue([](const QTextBlock& b) {
        Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter) {
            return QVariant(2);
        }
        if ((a & Qt::AlignRight) && !(a & Qt::AlignLeft)) {
            return QVariant(1);
        }
        return QVariant(0);  // left, and justified which the editor shows as left
    });
    if (!v) {
        return std::nullopt;
    }
    return v->toInt();
}

void RichTextBox::setSelAlignment(int alignment) {
    Qt::Alignment a = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    changeBlockFormats([a](QTextBlockFormat& f) { f.setAlignment(a); });
}

// Lengths: the first line starts at leftMargin + textIndent, the other lines
// at leftMargin; the hanging indent is how far the others stand right of the
// first, -textIndent.
std::optional<double> RichTextBox::SelIndent() const {
    auto v = blockValue([](const QTextBlock& b) {
        QTextBlockFormat f = b.blockFormat();
        return QVariant(cleanTwips((f.leftMargin() + f.textIndent()) * kTwipsPerUnit));
    });
    return v ? std::optional<double>(v->toDouble()) : std::nullopt;
}

void RichTextBox::setSelIndent(double twips) {
    changeBlockFormats([twips](QTextBlockFormat& f) {
        f.setLeftMargin(twips / kTwipsPerUnit - f.textIndent());
    });
}

std::optional<double> RichTextBox::SelRightIndent() const {
    auto v = blockValue([](const QTextBlock& b) {
        return QVariant(cleanTwips(b.blockFormat().rightMargin() * kTwipsPerUnit));
    });
    return v ? std::optional<double>(v->toDouble()) : std::nullopt;
}

void RichTextBox::setSelRightIndent(double twips) {
    changeBlockFormats([twips](QTextBlockFormat& f) { f.setRightMargin(twips / kTwipsPerUnit); });
}

std::optional<double> RichTextBox::SelHangingIndent() const {
    auto v = blockValue([](const QTextBlock& b) {
        return QVariant(cleanTwips(-b.blockFormat().textIndent() * kTwipsPerUnit));
    });
    return v ? std::optional<double>(v->toDouble()) : std::nullopt;
}

void RichTextBox::setSelHangingIndent(double twips) {
    changeBlockFormats([twips](QTextBlockFormat& f) {
        double first = f.leftMargin() + f.textIndent();
        double hanging = twips / kTwipsPerUnit;
        f.setTextIndent(-hanging);
        f.setLeftMargin(first + hanging);
    });
}

double RichTextBox::BulletIndent() const {
    QTextBlockFormat f = document()->findBlock(textCursor().selectionStart()).blockFormat();
    return f.hasProperty(kBulletIndent) ? f.intProperty(kBulletIndent) : kDefaultBulletIndent;
}

void RichTextBox::setBulletIndent(double twips) {
    int value = static_cast<int>(std::lround(twips));
    changeBlockFormats([value](QTextBlockFormat& f) { f.setProperty(kBulletIndent, value); });
}

// --- Base font ---------------------------------------------------------------

QString RichTextBox::FontName() const {
    return document()->defaultFont().family();
}

void RichTextBox::setFontName(const QString& name) {
    QFont f = document()->defaultFont();
    f.setFamilies(QStringList{name});
    Batch batch(*this);
    setFont(f);  // QTextEdit hands the widget font on to the document
    document()->setDefaultFont(f);
    if (document()->isEmpty()) {
        loadPlainText(QString());
    }
}

double RichTextBox::FontSize() const {
    return document()->defaultFont().pointSizeF();
}

void RichTextBox::setFontSize(double points) {
    if (!(points > 0)) {
        return;
    }
    QFont f = document()->defaultFont();
    f.setPointSizeF(points);
    Batch batch(*this);
    setFont(f);
    document()->setDefaultFont(f);
    if (document()->isEmpty()) {
        loadPlainText(QString());
    }
}

}  // namespace tamix::controls
