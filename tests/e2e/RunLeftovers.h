// What launcher runs leave on the machine: the test products they installed and the package folders they
// unpacked into. Every end-to-end test ends with none of it (a listener removes it); a test that runs the
// launcher several times undoes what each run installed with UndoInstalls.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The product codes of the test products installed now.
std::vector<std::wstring> InstalledTestProducts();
// Removes the test products installed now whose codes are not in `keep`, then the test package folders
// whose product is not installed.
void RemoveLeftovers(const std::vector<std::wstring>& keep = {});

// What the runs inside its scope install is removed when it ends; what was installed before stays.
class UndoInstalls {
public:
    UndoInstalls() : before_(InstalledTestProducts()) {}
    ~UndoInstalls() { RemoveLeftovers(before_); }
    UndoInstalls(const UndoInstalls&) = delete;
    UndoInstalls& operator=(const UndoInstalls&) = delete;

private:
    std::vector<std::wstring> before_;
};

} // namespace e2e
