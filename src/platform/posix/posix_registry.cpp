// The machine's registry kept in an SQLite file (registry.db): keys as a tree of rows, values
// as rows of their key, names case-preserving and looked up by their folded form. Every change
// is one transaction; a database file or folder without write permission opens read-only.
// It must not hold any state outside the database beyond the open connection.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/posix/posix_services.h"
#include "platform/registry_fold.h"

namespace korvane::posix {
namespace {

// Fixed row ids of the three stored roots; HKEY_CLASSES_ROOT lives below the machine root.
constexpr int64_t kCurrentUserId = 1;
constexpr int64_t kLocalMachineId = 2;
constexpr int64_t kUsersId = 3;
constexpr const char* kClassesPath = "SOFTWARE\\Classes";

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
  key INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES
  (1, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
  (2, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
  (3, 0, 'HKEY_USERS', 'HKEY_USERS');
)sql";

// Splits a key path at its backslashes (never the second byte of a double-byte character).
// One leading and any trailing backslashes are tolerated; an empty component inside is not.
std::optional<std::vector<std::string>> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < path.size(); ++i) {
    auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      current += path[i];
      current += path[++i];
    } else if (b == '\\') {
      parts.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  parts.push_back(std::move(current));
  if (!parts.empty() && parts.front().empty()) parts.erase(parts.begin());
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  for (const auto& part : parts) {
    if (part.empty()) return std::nullopt;
  }
  return parts;
}

uint32_t ErrorOf(int rc, uint32_t otherwise) {
  switch (rc & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return kErrorAccessDenied;
    case SQLITE_FULL:
      return kErrorDiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return kErrorSharingViolation;
    case SQLITE_NOMEM:
      return kErrorNotEnoughMemory;
    default:
      return otherwise;
  }
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    prepared_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK;
    if (!prepared_) rc_ = sqlite3_errcode(db);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  int rc() const { return rc_; }
  void Bind(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void Bind(int index, const std::string& blob) {
    sqlite3_bind_blob(stmt_, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
  }
  /// SQLITE_ROW, SQLITE_DONE or the error.
  int Step() {
    if (!prepared_) return rc_;
    rc_ = sqlite3_step(stmt_);
    return rc_;
  }
  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }
  std::string Blob(int column) {
    const void* p = sqlite3_column_blob(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool prepared_ = false;
  int rc_ = SQLITE_OK;
};

class PosixRegistry final : public Registry {
 public:
  PosixRegistry(sqlite3* db, bool readOnly) : db_(db), readOnly_(readOnly) {}
  ~PosixRegistry() override { sqlite3_close_v2(db_); }

  uint32_t CreateKey(RootKey root, const std::string& path) override {
    auto parts = Parts(root, path);
    if (!parts) return kErrorInvalidParameter;
    if (readOnly_) return Lookup(root, *parts) ? kErrorSuccess : kErrorAccessDenied;
    return Change(kErrorCantWriteKey, [&]() -> uint32_t {
      int64_t id = RootId(root);
      for (const auto& part : *parts) {
        auto child = Child(id, part);
        if (!child) {
          Statement insert(db_, "INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)");
          insert.Bind(1, id);
          insert.Bind(2, part);
          insert.Bind(3, FoldRegistryName(part));
          if (insert.Step() != SQLITE_DONE) return ErrorOf(insert.rc(), kErrorCantWriteKey);
          child = sqlite3_last_insert_rowid(db_);
        }
        id = *child;
      }
      return kErrorSuccess;
    });
  }

  uint32_t OpenKey(RootKey root, const std::string& path) override {
    return Find(root, path) ? kErrorSuccess : kErrorFileNotFound;
  }

  uint32_t SetValue(RootKey root, const std::string& path, const std::string& name, uint32_t type,
                    const std::string& data) override {
    if (readOnly_) return Find(root, path) ? kErrorAccessDenied : kErrorFileNotFound;
    return Change(kErrorCantWriteKey, [&]() -> uint32_t {
      auto id = Find(root, path);
      if (!id) return kErrorFileNotFound;
      Statement put(db_,
                    "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                    "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, "
                    "data = excluded.data");
      put.Bind(1, *id);
      put.Bind(2, name);
      put.Bind(3, FoldRegistryName(name));
      put.Bind(4, static_cast<int64_t>(type));
      put.Bind(5, data);
      return put.Step() == SQLITE_DONE ? kErrorSuccess : ErrorOf(put.rc(), kErrorCantWriteKey);
    });
  }

  uint32_t QueryValue(RootKey root, const std::string& path, const std::string& name,
                      uint32_t& type, std::string& data) override {
    auto id = Find(root, path);
    if (!id) return kErrorFileNotFound;
    Statement get(db_, "SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2");
    get.Bind(1, *id);
    get.Bind(2, FoldRegistryName(name));
    if (get.Step() != SQLITE_ROW) return kErrorFileNotFound;
    type = static_cast<uint32_t>(get.Int(0));
    data = get.Blob(1);
    return kErrorSuccess;
  }

  uint32_t DeleteValue(RootKey root, const std::string& path, const std::string& name) override {
    if (readOnly_) {
      uint32_t type = 0;
      std::string data;
      return QueryValue(root, path, name, type, data) == 0 ? kErrorAccessDenied
                                                           : kErrorFileNotFound;
    }
    return Change(kErrorCantWriteKey, [&]() -> uint32_t {
      auto id = Find(root, path);
      if (!id) return kErrorFileNotFound;
      Statement del(db_, "DELETE FROM vals WHERE key = ?1 AND folded = ?2");
      del.Bind(1, *id);
      del.Bind(2, FoldRegistryName(name));
      if (del.Step() != SQLITE_DONE) return ErrorOf(del.rc(), kErrorCantWriteKey);
      return sqlite3_changes(db_) > 0 ? kErrorSuccess : kErrorFileNotFound;
    });
  }

  uint32_t DeleteKeyTree(RootKey root, const std::string& path) override {
    auto parts = SplitPath(path);
    if (!parts) return kErrorFileNotFound;
    if (parts->empty()) return kErrorAccessDenied;  // a root, or HKEY_CLASSES_ROOT itself
    if (readOnly_) return Find(root, path) ? kErrorAccessDenied : kErrorFileNotFound;
    return Change(kErrorCantWriteKey, [&]() -> uint32_t {
      auto id = Find(root, path);
      if (!id) return kErrorFileNotFound;
      static constexpr const char* kTree =
          "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
          "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
      Statement values(
          db_,
          (std::string(kTree) + "DELETE FROM vals WHERE key IN (SELECT id FROM tree)").c_str());
      values.Bind(1, *id);
      if (values.Step() != SQLITE_DONE) return ErrorOf(values.rc(), kErrorCantWriteKey);
      Statement keys(
          db_, (std::string(kTree) + "DELETE FROM keys WHERE id IN (SELECT id FROM tree)").c_str());
      keys.Bind(1, *id);
      if (keys.Step() != SQLITE_DONE) return ErrorOf(keys.rc(), kErrorCantWriteKey);
      return kErrorSuccess;
    });
  }

  uint32_t EnumKeys(RootKey root, const std::string& path,
                    std::vector<std::string>& names) override {
    auto id = Find(root, path);
    if (!id) return kErrorFileNotFound;
    names.clear();
    Statement list(db_, "SELECT name FROM keys WHERE parent = ?1 ORDER BY folded");
    list.Bind(1, *id);
    while (list.Step() == SQLITE_ROW) names.push_back(list.Blob(0));
    return kErrorSuccess;
  }

  uint32_t EnumValues(RootKey root, const std::string& path,
                      std::vector<RegistryValue>& values) override {
    auto id = Find(root, path);
    if (!id) return kErrorFileNotFound;
    values.clear();
    Statement list(db_, "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY folded");
    list.Bind(1, *id);
    while (list.Step() == SQLITE_ROW) {
      values.push_back({list.Blob(0), static_cast<uint32_t>(list.Int(1)), list.Blob(2)});
    }
    return kErrorSuccess;
  }

 private:
  static int64_t RootId(RootKey root) {
    switch (root) {
      case RootKey::CurrentUser:
        return kCurrentUserId;
      case RootKey::Users:
        return kUsersId;
      case RootKey::LocalMachine:
      case RootKey::ClassesRoot:
        return kLocalMachineId;
    }
    return kCurrentUserId;
  }

  // The components below the stored root (HKEY_CLASSES_ROOT gets its two machine keys first).
  static std::optional<std::vector<std::string>> Parts(RootKey root, const std::string& path) {
    auto parts = SplitPath(path);
    if (parts && root == RootKey::ClassesRoot) {
      auto classes = SplitPath(kClassesPath);
      parts->insert(parts->begin(), classes->begin(), classes->end());
    }
    return parts;
  }

  std::optional<int64_t> Child(int64_t parent, const std::string& name) {
    Statement find(db_, "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
    find.Bind(1, parent);
    find.Bind(2, FoldRegistryName(name));
    if (find.Step() != SQLITE_ROW) return std::nullopt;
    return find.Int(0);
  }

  std::optional<int64_t> Lookup(RootKey root, const std::vector<std::string>& parts) {
    int64_t id = RootId(root);
    for (const auto& part : parts) {
      auto child = Child(id, part);
      if (!child) return std::nullopt;
      id = *child;
    }
    return id;
  }

  std::optional<int64_t> Find(RootKey root, const std::string& path) {
    auto parts = Parts(root, path);
    if (!parts) return std::nullopt;
    return Lookup(root, *parts);
  }

  // Runs body inside one write transaction: committed when it answers 0, rolled back else.
  template <typename Body>
  uint32_t Change(uint32_t otherwise, Body body) {
    int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return ErrorOf(rc, otherwise);
    uint32_t result = body();
    if (result == kErrorSuccess) {
      rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
      if (rc == SQLITE_OK) return kErrorSuccess;
      result = ErrorOf(rc, otherwise);
    }
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return result;
  }

  sqlite3* db_;
  bool readOnly_;
};

bool HasWriteBits(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
         ::access(path.c_str(), W_OK) == 0;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::unique_ptr<Registry> CreatePosixRegistry(const std::string& databasePath, std::string& error) {
  struct stat st {};
  bool exists = ::stat(databasePath.c_str(), &st) == 0;
  // Write bits are checked, not only access(): a process running as root would otherwise
  // write through a file that the machine's owner made read-only.
  bool readOnly = exists && (!HasWriteBits(databasePath) || !HasWriteBits(FolderOf(databasePath)));
  int flags = readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(databasePath.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    error = "cannot open the registry " + databasePath + ": " +
            (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close_v2(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 10000);
  if (!readOnly) {
    char* message = nullptr;
    rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, &message);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, kSchema, nullptr, nullptr, &message);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
      error = "cannot prepare the registry " + databasePath + ": " +
              (message ? message : sqlite3_errmsg(db));
      sqlite3_free(message);
      sqlite3_close_v2(db);
      return nullptr;
    }
    auto registry = std::make_unique<PosixRegistry>(db, false);
    // HKEY_CLASSES_ROOT always exists, as on Windows.
    if (registry->CreateKey(RootKey::ClassesRoot, "") != kErrorSuccess) {
      error = "cannot prepare the registry " + databasePath;
      return nullptr;
    }
    return registry;
  }
  return std::make_unique<PosixRegistry>(db, true);
}

}  // namespace korvane::posix
