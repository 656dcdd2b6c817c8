#pragma once

#include <QString>
#include <filesystem>

class QWidget;

namespace sw48230 {

struct Context;

// Starts an updater through the screen's services, waits for it, and then
// tells the user when it could not start, failed or is still running.
void Run_Updater(const Context& context, QWidget* parent, const std::filesystem::path& program,
                 const QString& parameter);

}  // namespace sw48230
