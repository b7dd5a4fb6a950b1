#include "ui/characters_bar.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "text/tags.h"
#include "ui/interface_texts.h"
#include "ui/tag_button_face.h"

namespace {

const char* const kHintKeyProperty = "hintKey";

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QFrame* Separator() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

TCharactersBar::TCharactersBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("specialCharactersBar"));
    setMovable(false);
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(0);
    auto* placeholders = new QHBoxLayout;
    auto* tags = new QHBoxLayout;
    for (QHBoxLayout* row : {placeholders, tags}) {
        row->setSpacing(0);
        rowsLayout->addLayout(row);
    }

    // %21 and %22 have no button; they can still be typed.
    for (int number = 1; number <= 25; ++number) {
        if (number == 21 || number == 22) continue;
        addButton(*placeholders, QStringLiteral("%%1").arg(number), "special_character");
    }
    placeholders->addStretch();

    for (const char16_t mark : {u'\u00AB', u'\u00BB', u'\u2026'}) addButton(*tags, QString(QChar(mark)));
    tags->addWidget(Separator());
    const std::array<const char*, 10> effectKeys = {"grey", "blue",   "red",   "purple", "green",
                                                   "cyan", "yellow", "white", "blink",  "multicolour"};
    for (std::size_t i = 0; i < text::ColourTags.size(); ++i) {
        addButton(*tags, FromView(text::ColourTags[i]), effectKeys[i]);
    }
    addButton(*tags, FromView(text::EffectTags[0]), effectKeys[8]);
    addButton(*tags, FromView(text::EffectTags[1]), effectKeys[9]);
    tags->addWidget(Separator());
    const std::array<const char*, 9> nameKeys = {"cloud",  "barret",    "tifa",    "aeris", "red_xiii",
                                                 "yuffie", "cait_sith", "vincent", "cid"};
    for (std::size_t i = 0; i < text::NameTags.size(); ++i) {
        addButton(*tags, FromView(text::NameTags[i]), nameKeys[i]);
    }
    tags->addWidget(Separator());
    const std::array<const char*, 3> memberKeys = {"member1", "member2", "member3"};
    for (std::size_t i = 0; i < text::MemberTags.size(); ++i) {
        addButton(*tags, FromView(text::MemberTags[i]), memberKeys[i]);
    }
    tags->addWidget(Separator());

    otherTags_ = new QMenu(this);
    otherTags_->setObjectName(QStringLiteral("otherTagsMenu"));
    QStringList others = {FromView(text::EffectTags[3])};
    for (std::size_t pause = 4; pause <= 8; ++pause) others << FromView(text::EffectTags[pause]);
    others << FromView(text::EffectTags[9]) << FromView(text::EffectTags[2])
           << FromView(text::NewPageTag);
    for (const QString& tag : others) {
        QAction* item = otherTags_->addAction(tag);
        connect(item, &QAction::triggered, this, [this, tag] { emit chosen(tag); });
    }
    otherTagsButton_ = new QToolButton;
    otherTagsButton_->setObjectName(QStringLiteral("otherTagsButton"));
    otherTagsButton_->setMenu(otherTags_);
    otherTagsButton_->setPopupMode(QToolButton::InstantPopup);
    otherTagsButton_->setAutoRaise(true);
    otherTagsButton_->setFocusPolicy(Qt::NoFocus);
    tags->addWidget(otherTagsButton_);
    tags->addStretch();

    addWidget(rows);
    retranslate();
}

void TCharactersBar::addButton(QLayout& row, const QString& caption, const char* hintKey) {
    auto* button = new QToolButton;
    // The caption is what the button inserts; a drawn face, where there is one, shows instead.
    button->setText(caption);
    const QIcon face = ui::TagButtonFace(caption);
    if (!face.isNull()) {
        button->setIcon(face);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    button->setProperty(kHintKeyProperty, QString::fromLatin1(hintKey != nullptr ? hintKey : ""));
    button->setAutoRaise(true);
    // The editor keeps the focus, and with it its selection, while buttons are clicked.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, caption] { emit chosen(caption); });
    row.addWidget(button);
    buttons_ << button;
}

QStringList TCharactersBar::captions() const {
    QStringList captions;
    for (const QToolButton* button : buttons_) captions << button->text();
    for (const QAction* item : otherTags_->actions()) captions << item->text();
    return captions;
}

void TCharactersBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) retranslate();
    QToolBar::changeEvent(event);
}

void TCharactersBar::retranslate() {
    for (QToolButton* button : buttons_) {
        const QString key = button->property(kHintKeyProperty).toString();
        if (key.isEmpty()) continue;
        QString hint = ui::InterfaceText(QStringLiteral("tags_description"), key);
        // A placeholder's hint names the placeholder too.
        if (key == QStringLiteral("special_character")) hint += QStringLiteral(" ") + button->text();
        button->setToolTip(hint);
    }
    otherTagsButton_->setText(ui::InterfaceText("tags_description", "other_tags") +
                              QStringLiteral("..."));
    otherTagsButton_->setToolTip(otherTagsButton_->text());
}
