#pragma once
// The one failure type of the portable code: a host or platform call that did
// not succeed, carrying the error number and description that the logs show.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace cq {

class HostError : public std::runtime_error {
  public:
    HostError(std::int32_t number, std::string description, int line = 0)
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          line_(line) {}

    std::int32_t number() const { return number_; }
    const std::string& description() const { return description_; }
    // Source line of the failure, 0 when not known.
    int line() const { return line_; }

  private:
    std::int32_t number_;
    std::string description_;
    int line_;
};

}  // namespace cq
