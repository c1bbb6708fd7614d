// The folder browser as a Qt dialog: the machine's drives and folders as a tree, loaded as
// the user opens them, with the dialog's title text, OK and Cancel.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace korvane {
class FolderBrowser;
}

namespace korvane::qt {

class FolderBrowserDialog : public QDialog {
  Q_OBJECT

 public:
  FolderBrowserDialog(const FolderBrowser& browser, QWidget* parent);
  /// The chosen folder's Windows path (a drive root as "C:\"), nullopt when none is selected.
  std::optional<std::string> SelectedPath() const;
  QTreeWidget* tree() const { return tree_; }

 private:
  void Fill(QTreeWidgetItem* item);

  const FolderBrowser& browser_;
  QTreeWidget* tree_;
};

}  // namespace korvane::qt
