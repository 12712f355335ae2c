#pragma once

class QProcess;

// Ends a child a test started: asks it to stop, and kills it if it has not gone within five seconds.
void StopChildProcess(QProcess& process);
