#pragma once
// Keeps a second copy of the program from starting: both would write the same tkv.ini and
// databases.

#include "shell/product.h"

#include <QLockFile>
#include <QString>

namespace tkv {

// Holds a lock file named after the application in the user's runtime folder for as long as it
// lives. A lock left by a copy that crashed is taken over.
class SingleInstance {
  public:
    explicit SingleInstance(const QString& name = QString::fromUtf8(product_name.data(), product_name.size()));
    bool acquired() const { return acquired_; }

  private:
    QLockFile lock_;
    bool acquired_;
};

} // namespace tkv
