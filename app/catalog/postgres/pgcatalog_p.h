// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/postgres/pgconnection.h"
#include "app/catalog/snapshotstore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The PostgreSQL back end's own parts, shared by its reading and writing halves.
namespace mrb::core::postgres
{

// The number of a type description: the same text has the same number on
// every machine, so writers never wait for each other to number one.
std::int64_t typeIdOf(std::string_view text);

class ServerCatalog final : public SnapshotStore
{
public:
    explicit ServerCatalog(std::string address);

    Connection &connection() { return m_conn; }
    // The failure the connection reported last, naming the catalog.
    CatalogStatus lastFailure() const;

    std::unique_ptr<SnapshotWriter> beginWriting() override;
    CatalogStatus removeSnapshot(std::int64_t id) override;
    CatalogStatus readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each) override;
    CatalogStatus readEntries(std::int64_t snapshot,
        std::uint32_t first,
        std::uint32_t last,
        const EntryVisitor &each,
        EntryDetail detail) override;
    CatalogStatus searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each) override;

protected:
    CatalogStatus selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out) override;
    void beginReadTransaction() override;
    void endReadTransaction() override;

private:
    struct Root {
        std::string path;
        std::int64_t device = 0;
    };
    CatalogStatus rootOf(std::int64_t snapshot, const Root *&out);
    CatalogStatus typeText(std::int64_t id, std::string &out);
    // The rows of the snapshot whose folded text holds the fragment: select
    // takes the snapshot's first and last id and the LIKE pattern as $1 to $3.
    Result holding(const std::string &select, std::int64_t snapshot, std::string_view fragment);
    // The entries of a snapshot between two ids that also meet the condition
    // (on e, with parameters from $5), page by page in id order.
    CatalogStatus readWhere(std::int64_t snapshot,
        std::int64_t first,
        std::int64_t last,
        const std::string &condition,
        const std::vector<Parameter> &extra,
        const EntryVisitor &each);

    Connection m_conn;
    std::unordered_map<std::int64_t, std::string> m_types;
    std::unordered_map<std::int64_t, Root> m_roots;
};

} // namespace mrb::core::postgres
