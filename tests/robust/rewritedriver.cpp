// Rewrites a template's transaction file the way the time sheet's save does, for the test that
// kills it part way: loads the template and its transactions, moves every record of the key pair
// (1, 2) to (3, 4) or, when there is none, back, and saves through the store's rewrite. One byte
// on standard output says the rewrite starts. Exit 0 when it was stored, 2 when it failed, 3
// when the files could not be read.

#include "core/model/templatefile.h"

#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 3;
    }
    vsolo::TemplateFile file;
    file.setPath(argv[1]);
    if (!file.load(argv[1]) || !file.loadTransactions()) {
        return 3;
    }
    vsolo::TransactionStore& store = file.store();
    if (store.rekey(1, 2, 3, 4) == 0) {
        store.rekey(3, 4, 1, 2);
    }
    if (::write(1, "r", 1) != 1) {
        return 3;
    }
    return file.saveTransactions() ? 0 : 2;
}
