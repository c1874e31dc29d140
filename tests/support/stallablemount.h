// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <sys/types.h>

namespace mrb::test
{

// A folder mounted elsewhere over the network file protocol of sshfs, its
// server a process of our own on the other end of a socket, so that a test
// can make the mount hang as a lost network would: stall() stops the server,
// and every read that its answer has not reached yet waits until resume().
// Needs /dev/fuse, sshfs and the sftp-server of openssh; mounted() says
// whether the mount came up, why() why not.
class StallableMount
{
public:
    StallableMount(const std::string &served, const std::string &mountPoint);
    ~StallableMount(); // resumes, unmounts and ends both processes
    StallableMount(const StallableMount &) = delete;
    StallableMount &operator=(const StallableMount &) = delete;

    bool mounted() const { return m_why.empty(); }
    const std::string &why() const { return m_why; }
    void stall() const;
    void resume() const;

private:
    std::string m_mountPoint;
    std::string m_why;
    pid_t m_server = -1;
    pid_t m_client = -1;
};

} // namespace mrb::test
