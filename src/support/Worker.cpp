#include "support/Worker.h"

#include <system_error>

namespace quillmarsh {

bool StartWorker(std::function<void()> routine, std::thread* handleOut)
{
    try {
        std::thread thread(std::move(routine));
        if (handleOut)
            *handleOut = std::move(thread);
        else
            thread.detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace quillmarsh
