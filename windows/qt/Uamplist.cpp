#include "windows/qt/Uamplist.h"

#include <QAbstractTableModel>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/qt/QtCanvas.h"
#include "windows/qt/FormSupport.h"

namespace {

constexpr int kRowHeight = 18;
constexpr int kColumnWidth = 80;
constexpr int kFixedColumns = 2;

// The cells converted once, shared by the two views.
struct GridText {
  int columns = 0;
  int rows = 0;                // including the header row
  std::vector<QString> cells;  // row-major

  const QString& At(int col, int row) const { return cells[static_cast<size_t>(row) * columns + col]; }
};

}  // namespace

// One view's slice of the grid: the first `limit` columns (all when -1). Row 0
// of the grid is the horizontal header; model row r is grid row r + 1.
class AmplificationGridModel : public QAbstractTableModel {
 public:
  AmplificationGridModel(int limit, QObject* parent) : QAbstractTableModel(parent), limit_(limit) {}

  void SetText(std::shared_ptr<const GridText> text) {
    beginResetModel();
    text_ = std::move(text);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || !text_ ? 0 : std::max(text_->rows - 1, 0);
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    if (parent.isValid() || !text_) return 0;
    return limit_ < 0 ? text_->columns : std::min(limit_, text_->columns);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !text_ || !index.isValid()) return {};
    return text_->At(index.column(), index.row() + 1);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || !text_ || text_->rows == 0) return {};
    if (section < 0 || section >= text_->columns) return {};
    return text_->At(section, 0);
  }

 private:
  int limit_;
  std::shared_ptr<const GridText> text_;
};

// A read-only table whose first two columns stay put while the others scroll
// under them: a second view over those columns lies on top of the first and
// follows its vertical scrolling.
class FixedColumnsTable : public QTableView {
 public:
  explicit FixedColumnsTable(QWidget* parent) : QTableView(parent), fixed_(new QTableView(this)) {
    for (QTableView* view : {static_cast<QTableView*>(this), fixed_}) {
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->setSelectionMode(QAbstractItemView::NoSelection);
      view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
      view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
      view->verticalHeader()->hide();
      view->verticalHeader()->setMinimumSectionSize(kRowHeight);
      view->verticalHeader()->setDefaultSectionSize(kRowHeight);
      view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
      view->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
      view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
      view->horizontalHeader()->setHighlightSections(false);
      view->setWordWrap(false);
    }
    fixed_->setFocusPolicy(Qt::NoFocus);
    fixed_->setFrameShape(QFrame::NoFrame);
    fixed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette shade = fixed_->palette();
    shade.setBrush(QPalette::Base, palette().brush(QPalette::Button));
    fixed_->setPalette(shade);
    viewport()->stackUnder(fixed_);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixed_->verticalScrollBar(), &QScrollBar::setValue);
    connect(fixed_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
  }

  void SetModels(QAbstractItemModel* all, QAbstractItemModel* fixedColumns) {
    setModel(all);
    fixed_->setModel(fixedColumns);
    connect(all, &QAbstractItemModel::modelReset, this, &FixedColumnsTable::PlaceFixedView);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QTableView::resizeEvent(event);
    PlaceFixedView();
  }

 private:
  void PlaceFixedView() {
    int width = 0;
    const int columns = model() ? std::min(model()->columnCount(), kFixedColumns) : 0;
    for (int col = 0; col < columns; ++col) width += columnWidth(col);
    fixed_->setVisible(width > 0);
    fixed_->setGeometry(frameWidth(), frameWidth(), width, viewport()->height() + horizontalHeader()->height());
    fixed_->verticalScrollBar()->setValue(verticalScrollBar()->value());
  }

  QTableView* fixed_;
};

TAmpList::TAmpList(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Label1_(new QLabel(QString::fromUtf8(kAmplificationListHeading), this)),
      StringGrid1_(new FixedColumnsTable(this)),
      Button2_(new QPushButton(QString::fromUtf8("閉じる"), this)),
      model_(new AmplificationGridModel(-1, this)),
      fixedModel_(new AmplificationGridModel(kFixedColumns, this)) {
  setWindowTitle(QString::fromUtf8(kAmplificationListCaption));
  Label1_->setObjectName("Label1");
  StringGrid1_->setObjectName("StringGrid1");
  Button2_->setObjectName("Button2");
  // A fixed-pitch face lines up the right-aligned numbers of "%9.3f" (the
  // system's, whose small decimal point is not mistaken for a comma); the
  // fixed columns' view is a child of the grid and takes the same font.
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(QtCanvas::PixelSize(9));
  StringGrid1_->setFont(font);
  StringGrid1_->SetModels(model_, fixedModel_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button2_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_);
  layout->addWidget(StringGrid1_, 1);
  layout->addLayout(buttons);
  resize(640, 480);

  connect(Button2_, &QPushButton::clicked, this, &TAmpList::Button2Click);
}

TAmpList::~TAmpList() = default;

void TAmpList::ShowTable(const AmplificationTable& table) {
  auto text = std::make_shared<GridText>();
  text->columns = std::max(table.columns, 0);
  text->rows = std::max(table.rows, 0);
  text->cells.resize(static_cast<size_t>(text->columns) * text->rows);
  for (int row = 0; row < text->rows && row < static_cast<int>(table.cells.size()); ++row) {
    const std::vector<std::string>& cells = table.cells[row];
    for (int col = 0; col < text->columns && col < static_cast<int>(cells.size()); ++col) {
      text->cells[static_cast<size_t>(row) * text->columns + col] = QString::fromStdString(cells[col]);
    }
  }
  // One reset per view; nothing is painted until both hold the new table.
  setUpdatesEnabled(false);
  model_->SetText(text);
  fixedModel_->SetText(text);
  setUpdatesEnabled(true);
}

int TAmpList::ColCount() const { return model_->columnCount(); }

int TAmpList::RowCount() const { return model_->columnCount() == 0 ? 0 : model_->rowCount() + 1; }

QString TAmpList::Cell(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) return model_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
  return model_->data(model_->index(row - 1, col), Qt::DisplayRole).toString();
}

void TAmpList::Button2Click() { hide(); }

void TAmpList::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    CentreOnScreen(this);
  }
}
