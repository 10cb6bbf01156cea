// Fuzzes the search-text parser and a share name's default search text over a small dictionary:
// any text gives terms whose kinds are those of the syntax.
#include "news/NewsDatabase.h"
#include "news/NewsSearch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static qv::NewsDatabase& news = [] () -> qv::NewsDatabase& {
        qv::NewsDatabase& db = qv::TheNewsDatabase();
        db.recreate(false);
        qv::NewsDictionary dictionary = db.dictionary();
        for (const char* word : {"acme", "holdings", "profit", "bank", "rate"})
            dictionary.add(word, 0);
        return db;
    }();
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const qv::NewsSearchTerm& term : qv::MakeNewsSearchWords(news, 7, text))
        if (term.kind % 10 > 2 || term.kind > 12 || (term.known && term.slot >= news.catalogue().hashTable.size()))
            std::abort();
    qv::MakeNewsSearchText(text);
    return 0;
}
