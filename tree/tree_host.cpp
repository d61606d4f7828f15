#include "tree/tree_host.h"

#include "storage/tamix_error.h"

#include <exception>

namespace tamix {

void RunCommand(TreeHost& host, const std::function<void()>& command) {
    try {
        command();
    } catch (const TamixError& e) {
        if (e.number() != kErrCancel) host.ShowError(QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc&) {
        host.ShowError(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        host.ShowError(QString::fromUtf8(e.what()));
    }
}

}  // namespace tamix
