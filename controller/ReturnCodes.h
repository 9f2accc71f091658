#ifndef KURVO_RETURNCODES_H
#define KURVO_RETURNCODES_H

// The controller's return codes that the module tests for or gives itself.
namespace ReturnCode {
constexpr short Success = 0;
// A buffered command refused, as a rule because the FIFO is full.
constexpr short Refused = 1;
// An argument out of range; also what the module shows for a row or value it cannot send.
constexpr short BadArgument = 7;
// An operation the controller does not know.
constexpr short UnknownCommand = 8;
} // namespace ReturnCode

#endif
