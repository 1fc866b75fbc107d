#include "platform/Stretches.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace kal {

std::size_t stretchCount(std::size_t items, std::size_t itemsPerThread)
{
    const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(items / std::max<std::size_t>(itemsPerThread, 1), 1, processors);
}

void runStretches(std::size_t items, std::size_t stretches,
                  const std::function<void(std::size_t first, std::size_t last, std::size_t stretch)>& work)
{
    const auto run = [&](std::size_t stretch) {
        work(items * stretch / stretches, items * (stretch + 1) / stretches, stretch);
    };
    std::vector<std::jthread> others;
    for (std::size_t stretch = 1; stretch < stretches; ++stretch)
        others.emplace_back(run, stretch);
    run(0);
}

} // namespace kal
