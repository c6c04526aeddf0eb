#include "core/cTextBoxEdit.h"

#include <functional>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextEdit>

#include "support/QuorlTest.h"

namespace {

// The three kinds of text box, driven through one small interface so every
// case runs on each of them.
struct Box {
    std::function<QWidget *()> widget;
    std::function<QString()> text;
    std::function<void(int start, int length)> select;
    std::function<void(bool)> setLocked;
};

struct BoxKind {
    const char *name;
    std::function<Box(QWidget *parent, const QString &text)> make;
};

void PrintTo(const BoxKind &c, std::ostream *out)
{
    *out << c.name;
}

template <class Edit>
Box multiLine(QWidget *parent, const QString &text)
{
    auto *edit = new Edit(parent);
    edit->setPlainText(text);
    edit->document()->clearUndoRedoStacks();
    return Box{
        [edit] { return edit; },
        [edit] { return edit->toPlainText(); },
        [edit](int start, int length) {
            QTextCursor cursor = edit->textCursor();
            cursor.setPosition(start);
            cursor.setPosition(start + length, QTextCursor::KeepAnchor);
            edit->setTextCursor(cursor);
        },
        [edit](bool locked) { edit->setReadOnly(locked); },
    };
}

Box singleLine(QWidget *parent, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    return Box{
        [edit] { return edit; },
        [edit] { return edit->text(); },
        [edit](int start, int length) { edit->setSelection(start, length); },
        [edit](bool locked) { edit->setReadOnly(locked); },
    };
}

const BoxKind kBoxKinds[] = {
    {"LineEdit", singleLine},
    {"PlainTextEdit", multiLine<QPlainTextEdit>},
    {"TextEdit", multiLine<QTextEdit>},
};

class TextBoxEditTest : public QuorlTest, public ::testing::WithParamInterface<BoxKind>
{
protected:
    void SetUp() override
    {
        QuorlTest::SetUp();
        m_form = std::make_unique<QWidget>();
        m_box = GetParam().make(m_form.get(), QStringLiteral("harbour master"));
        m_edit.setTextBox(m_box.widget());
        QGuiApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        m_form.reset();
        QuorlTest::TearDown();
    }

    std::unique_ptr<QWidget> m_form;
    Box m_box;
    quorl::cTextBoxEdit m_edit;
};

TEST_P(TextBoxEditTest, LockedBoxWithSelectionOffersCopyOnly)
{
    m_box.setLocked(true);
    m_box.select(0, 7);
    EXPECT_FALSE(m_edit.CanCut());
    EXPECT_TRUE(m_edit.CanCopy());

    // Paste follows the clipboard alone, locked or not.
    EXPECT_FALSE(m_edit.CanPaste());
    QGuiApplication::clipboard()->setText(QStringLiteral("pontoon"));
    EXPECT_TRUE(m_edit.CanPaste());
}

TEST_P(TextBoxEditTest, EmptySelectionOffersNeitherCutNorCopy)
{
    m_box.select(3, 0);
    EXPECT_FALSE(m_edit.CanCut());
    EXPECT_FALSE(m_edit.CanCopy());
    m_box.select(3, 1);
    EXPECT_TRUE(m_edit.CanCut());
    EXPECT_TRUE(m_edit.CanCopy());
}

TEST_P(TextBoxEditTest, ClearRemovesSelectionAndUndoBringsItBack)
{
    m_box.select(7, 7);
    EXPECT_FALSE(m_edit.CanUndo());
    m_edit.Delete(true);
    EXPECT_EQ(m_box.text(), QStringLiteral("harbour"));
    ASSERT_TRUE(m_edit.CanUndo());
    m_edit.Undo();
    EXPECT_EQ(m_box.text(), QStringLiteral("harbour master"));
}

TEST_P(TextBoxEditTest, ClearWithoutSelectionRemovesNothing)
{
    // A single-line box's own Del would take the character after the cursor.
    m_box.select(0, 0);
    m_edit.Delete(true);
    EXPECT_EQ(m_box.text(), QStringLiteral("harbour master"));
}

TEST_P(TextBoxEditTest, ReplaceSelectionNeedsSelectionAndCanForgetUndo)
{
    m_box.select(2, 0);
    m_edit.ReplaceSelection(QStringLiteral("XX"), true);
    EXPECT_EQ(m_box.text(), QStringLiteral("harbour master"));

    m_box.select(0, 7);
    m_edit.ReplaceSelection(QStringLiteral("dock"), false);
    EXPECT_EQ(m_box.text(), QStringLiteral("dock master"));
    EXPECT_FALSE(m_edit.CanUndo());

    m_box.select(5, 6);
    m_edit.ReplaceSelection(QStringLiteral("office"), true);
    EXPECT_EQ(m_box.text(), QStringLiteral("dock office"));
    m_edit.Undo();
    EXPECT_EQ(m_box.text(), QStringLiteral("dock master"));
}

TEST_P(TextBoxEditTest, CutAndPasteGoThroughTheClipboard)
{
    m_box.select(0, 8);
    m_edit.Cut();
    EXPECT_EQ(m_box.text(), QStringLiteral("master"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("harbour "));
    m_box.select(6, 0);
    m_edit.Paste();
    EXPECT_EQ(m_box.text(), QStringLiteral("masterharbour "));
}

TEST_P(TextBoxEditTest, LockedBoxIsNeverChangedByCutOrPaste)
{
    m_box.setLocked(true);
    m_box.select(0, 7);
    m_edit.Cut();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("harbour"));
    m_box.select(0, 7);
    QGuiApplication::clipboard()->setText(QStringLiteral("pontoon"));
    m_edit.Paste();
    EXPECT_EQ(m_box.text(), QStringLiteral("harbour master"));
}

TEST_P(TextBoxEditTest, SelectAllSelectsTheWholeText)
{
    m_edit.SelectAll();
    m_edit.Copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("harbour master"));
}

INSTANTIATE_TEST_SUITE_P(Boxes, TextBoxEditTest, ::testing::ValuesIn(kBoxKinds),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(QuorlTest, TextBoxEditBindsOnlyTextBoxes)
{
    QWidget form;
    auto *spin = new QSpinBox(&form);
    auto *combo = new QComboBox(&form);
    combo->setEditable(true);
    EXPECT_FALSE(quorl::cTextBoxEdit::isTextBox(spin->findChild<QLineEdit *>()));
    EXPECT_FALSE(quorl::cTextBoxEdit::isTextBox(combo->lineEdit()));
    EXPECT_FALSE(quorl::cTextBoxEdit::isTextBox(combo));
    EXPECT_TRUE(quorl::cTextBoxEdit::isTextBox(new QLineEdit(&form)));

    quorl::cTextBoxEdit edit(combo);
    EXPECT_EQ(edit.TextBox(), nullptr);
}

TEST_F(QuorlTest, TextBoxEditOutlivingItsBoxDoesNothing)
{
    quorl::cTextBoxEdit edit;
    {
        QLineEdit box(QStringLiteral("slip"));
        box.selectAll();
        edit.setTextBox(&box);
        EXPECT_TRUE(edit.CanCopy());
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_FALSE(edit.CanCut());
    EXPECT_FALSE(edit.CanPaste());
    EXPECT_FALSE(edit.CanUndo());
    edit.Cut();
    edit.Paste();
    edit.Delete(true);
    edit.SelectAll();
    EXPECT_EQ(edit.TextBox(), nullptr);
}

} // namespace
