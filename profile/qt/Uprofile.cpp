#include "profile/qt/Uprofile.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <functional>
#include <utility>

#include "graphics/qt/TitlePictures.h"
#include "platform/UserAction.h"
#include "profile/ProfileEditorController.h"
#include "profile/ProfileGrid.h"
#include "ui_Uprofile.h"
#include "windows/qt/FormSupport.h"

namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// The depths are computed and the base row has no thickness: a value typed
// there would be replaced or ignored unseen, so only the typed cells edit.
Qt::ItemFlags CellFlags(const ProfileGrid& model, int col, int row) {
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return model.IsTypedCell(col, row) ? flags | Qt::ItemIsEditable : flags;
}

// Tab, Shift+Tab, Enter: the keys that move on to the next typed cell.
// Returns 0 for any other key, 1 forward, -1 back.
int CellMove(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return 0;
  const auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Tab: return (key->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    case Qt::Key_Backtab: return -1;
    case Qt::Key_Return:
    case Qt::Key_Enter: return (key->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    default: return 0;
  }
}

// Hands every keystroke to the grid at once, as the toolkit's in-place editor
// does, so an action started while a cell is still being typed in sees the
// text typed so far. Tab and Enter in a cell being typed in keep the text and
// move on to the next typed cell.
class LiveCellDelegate : public QStyledItemDelegate {
 public:
  LiveCellDelegate(QObject* parent, std::function<void(bool)> move)
      : QStyledItemDelegate(parent), move_(std::move(move)) {}

  bool eventFilter(QObject* object, QEvent* event) override {
    if (const int move = CellMove(event)) {
      auto* editor = qobject_cast<QWidget*>(object);
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
      move_(move > 0);
      return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->setFrame(false);
      auto* self = const_cast<LiveCellDelegate*>(this);
      connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
    }
    return editor;
  }

 private:
  std::function<void(bool)> move_;
};

// The same keys on the grid itself, when no cell is being typed in, and
// Delete and BackSpace, which empty the selected cell.
class CellMoveKeys : public QObject {
 public:
  CellMoveKeys(QObject* parent, std::function<void(bool)> move, std::function<void()> clear)
      : QObject(parent), move_(std::move(move)), clear_(std::move(clear)) {}
  bool eventFilter(QObject* object, QEvent* event) override {
    if (const int move = CellMove(event)) {
      move_(move > 0);
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        clear_();
        return true;
      }
    }
    return QObject::eventFilter(object, event);
  }

 private:
  std::function<void(bool)> move_;
  std::function<void()> clear_;
};

}  // namespace

TProfile::TProfile(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TProfile>()) {
  ui_->setupUi(this);
  SetFixedFrame(this, ProfileGrid::kCaption, true);
  ui_->Image1->setPixmap(QPixmap::fromImage(ProfileTitlePicture()));
  ui_->UpDown1->SetBuddy(ui_->Edit1);
  SetUpGrid();
  setFixedSize(size());

  connect(ui_->StringGrid1, &QTableWidget::itemChanged, this, &TProfile::StringGrid1Edited);
  connect(ui_->EdSite, &QLineEdit::textEdited, this, &TProfile::EdSiteChange);
  connect(ui_->Edit1, &QLineEdit::textEdited, this, &TProfile::Edit1Change);
  connect(ui_->UpDown1, &UpDownButtons::BuddyDone, this, &TProfile::Edit1Exit);
  connect(ui_->UpDown1, &UpDownButtons::Clicked, this, &TProfile::UpDown1Click);
  connect(ui_->CBEdit, &QCheckBox::clicked, this, &TProfile::CBEditClick);
  connect(ui_->Button4, &QPushButton::clicked, this, [this] { Run([this] { controller_->Button4Click(); }); });
  connect(ui_->BtnClear, &QPushButton::clicked, this, [this] { Run([this] { controller_->BtnClearClick(); }); });
  connect(ui_->Button2, &QPushButton::clicked, this, [this] { Run([this] { controller_->Button2Click(); }); });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] { Run([this] { controller_->Button1Click(); }); });

  // Edit mode starts off: the grid takes no typing before the box is marked.
  for (EditorControl control : {EditorControl::Grid, EditorControl::UpDown1, EditorControl::Button4,
                                EditorControl::BtnClear, EditorControl::Button2}) {
    SetEnabled(control, false);
  }
}

TProfile::~TProfile() = default;

void TProfile::SetUpGrid() {
  QTableWidget* grid = ui_->StringGrid1;
  grid->setRowCount(ProfileGrid::kRows);
  grid->setColumnCount(ProfileGrid::kColumns);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(ProfileGrid::kRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(ProfileGrid::kRowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setMinimumSectionSize(1);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  const auto move = [this, grid](bool forward) {
    if (!controller_) return;
    const ProfileGrid::CellPosition next =
        controller_->grid().NextTypedCell({grid->currentColumn(), grid->currentRow()}, forward);
    grid->setCurrentCell(next.row, next.col);
  };
  const auto clear = [this, grid] {
    Run([this, grid] { controller_->StringGrid1ClearCell({grid->currentColumn(), grid->currentRow()}); });
  };
  grid->setItemDelegate(new LiveCellDelegate(grid, move));
  grid->installEventFilter(new CellMoveKeys(grid, move, clear));
  grid->setTabKeyNavigation(false);
  int width = 0;
  for (int col = 0; col < ProfileGrid::kColumns; ++col) {
    grid->setColumnWidth(col, ProfileGrid::kColumnWidths[col]);
    width += ProfileGrid::kColumnWidths[col];
  }
  // The whole grid is in view: the fixed row and column never scroll away.
  const int frame = 2 * grid->frameWidth();
  grid->resize(width + frame, ProfileGrid::kRows * ProfileGrid::kRowHeight + frame);

  const QBrush fixedBrush = palette().brush(QPalette::Button);
  const QSignalBlocker quiet(grid);
  const ProfileGrid initial;
  for (int row = 0; row < ProfileGrid::kRows; ++row) {
    for (int col = 0; col < ProfileGrid::kColumns; ++col) {
      auto* item = new QTableWidgetItem(ToQ(initial.Cell(col, row)));
      if (row == 0 || col == 0) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(fixedBrush);
      } else {
        item->setFlags(CellFlags(initial, col, row));
      }
      grid->setItem(row, col, item);
    }
  }
  SetTextIfChanged(ui_->EdSite, ToQ(initial.EdSite));
  SetTextIfChanged(ui_->Edit1, ToQ(initial.Edit1Text()));
  ui_->Label7->setText(ToQ(initial.Label7));
}

void TProfile::Attach(ProfileEditorController& controller, MessagePort& messages) {
  controller_ = &controller;
  messages_ = &messages;
  Refresh();
}

template <typename Action>
void TProfile::Run(Action&& action) {
  if (!controller_) return;
  RunUserAction(*messages_, std::forward<Action>(action));
  Refresh();
}

void TProfile::SetEnabled(EditorControl control, bool enabled) {
  switch (control) {
    case EditorControl::Grid:
      // Typing replaces the selected cell's text, as in a spreadsheet; F2 or
      // a double click edit it in place. A click on the selected cell starts
      // nothing: its delayed editor took the keys typed in the meantime.
      ui_->StringGrid1->setEditTriggers(enabled ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                      QAbstractItemView::AnyKeyPressed
                                                : QAbstractItemView::NoEditTriggers);
      break;
    case EditorControl::UpDown1:
      ui_->UpDown1->setEnabled(enabled);
      ui_->Edit1->setEnabled(enabled);
      break;
    case EditorControl::Button4: ui_->Button4->setEnabled(enabled); break;
    case EditorControl::BtnClear: ui_->BtnClear->setEnabled(enabled); break;
    case EditorControl::Button2: ui_->Button2->setEnabled(enabled); break;
  }
}

void TProfile::SetCBEditChecked(bool checked) { ui_->CBEdit->setChecked(checked); }

void TProfile::StartTypingAt(ProfileGrid::CellPosition cell) {
  ui_->StringGrid1->setCurrentCell(cell.row, cell.col);
  ui_->StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TProfile::Refresh() {
  if (!controller_) return;
  const ProfileGrid& model = controller_->grid();
  QTableWidget* grid = ui_->StringGrid1;
  {
    const QSignalBlocker quiet(grid);
    for (int row = 0; row < ProfileGrid::kRows; ++row) {
      for (int col = 0; col < ProfileGrid::kColumns; ++col) {
        const QString text = ToQ(model.Cell(col, row));
        QTableWidgetItem* item = grid->item(row, col);
        if (item->text() != text) item->setText(text);
        // The base row moves with the count, and its "－" with it.
        if (row > 0 && col > 0 && item->flags() != CellFlags(model, col, row)) {
          item->setFlags(CellFlags(model, col, row));
        }
      }
    }
  }
  SetTextIfChanged(ui_->EdSite, ToQ(model.EdSite));
  SetTextIfChanged(ui_->Edit1, ToQ(model.Edit1Text()));
  ui_->Label7->setText(ToQ(model.Label7));
}

void TProfile::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    CentreOnScreen(this);
  }
  // Typing goes into the grid.
  ui_->StringGrid1->setFocus(Qt::ActiveWindowFocusReason);
}

void TProfile::StringGrid1Edited(QTableWidgetItem* item) {
  if (!controller_) return;
  // Fixed and depth cells take no typing; the grid model keeps them.
  if (!controller_->grid().IsTypedCell(item->column(), item->row())) return;
  controller_->grid().SetCell(item->column(), item->row(), item->text().toStdString());
}

void TProfile::EdSiteChange(const QString& text) {
  if (controller_) controller_->grid().EdSite = text.toStdString();
}

// A typed count waits in the field until the user is done with it.
void TProfile::Edit1Change(const QString& text) {
  if (controller_) controller_->grid().SetEdit1Text(text.toStdString());
}

void TProfile::Edit1Exit() {
  Run([this] { controller_->Edit1Exit(); });
}

void TProfile::UpDown1Click(bool up) {
  Run([this, up] { controller_->UpDown1Click(up ? ProfileGrid::UpDownButton::Up : ProfileGrid::UpDownButton::Down); });
}

void TProfile::CBEditClick(bool checked) {
  Run([this, checked] { controller_->CBEditClick(checked); });
}
