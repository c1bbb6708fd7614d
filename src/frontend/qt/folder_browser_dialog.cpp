// Lists the machine's namespace through the framework's FolderBrowser model only; the host's
// folders are never shown.
#include "frontend/qt/folder_browser_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "framework/folder_browser.h"
#include "frontend/qt/qt_text.h"

namespace korvane::qt {
namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;
}  // namespace

FolderBrowserDialog::FolderBrowserDialog(const FolderBrowser& browser, QWidget* parent)
    : QDialog(parent), browser_(browser), tree_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("dlgFolder"));
  setWindowTitle(QStringLiteral("フォルダの参照"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(ToQString(browser.Title()), this);
  title->setWordWrap(true);
  layout->addWidget(title);
  tree_->setHeaderHidden(true);
  tree_->setObjectName(QStringLiteral("folderTree"));
  layout->addWidget(tree_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(item); });
  connect(tree_, &QTreeWidget::currentItemChanged, this, [buttons](QTreeWidgetItem* current) {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(current != nullptr);
  });
  buttons->button(QDialogButtonBox::Ok)->setEnabled(false);

  for (const std::string& drive : browser.Drives()) {
    auto* item = new QTreeWidgetItem(tree_, QStringList(ToQString(drive)));
    item->setData(0, kPathRole, QByteArray::fromStdString(drive));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  resize(320, 360);
}

void FolderBrowserDialog::Fill(QTreeWidgetItem* item) {
  if (item->data(0, kFilledRole).toBool()) return;
  item->setData(0, kFilledRole, true);
  const std::string folder = item->data(0, kPathRole).toByteArray().toStdString();
  const auto children = browser_.Children(folder);
  for (const std::string& child : children) {
    const std::string path = FolderBrowser::Join(folder, child);
    auto* sub = new QTreeWidgetItem(item, QStringList(ToQString(child)));
    sub->setData(0, kPathRole, QByteArray::fromStdString(path));
    sub->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  if (children.empty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

std::optional<std::string> FolderBrowserDialog::SelectedPath() const {
  QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return std::nullopt;
  return item->data(0, kPathRole).toByteArray().toStdString();
}

}  // namespace korvane::qt
