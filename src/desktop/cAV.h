#pragma once

#include <string>

// The sound player: one remembered sound file, driven through the multimedia command interpreter
// with the quoted path as the device name. Results are ignored throughout: a sound that cannot
// be opened or played simply stays silent.
class cAV {
  public:
    // Remembers sAFile (quoted) as the current sound and opens it. The device opened before
    // stays open.
    void OpenMCIAudioFile(const std::string& sAFile);
    // Plays the current sound, from its start when bFromBegining is true.
    void PlayMCIAudioFile(bool bFromBegining);
    void StopMCIAudioFile();
    // Closes the current sound's device, whoever opened it.
    void CloseMCIAudioFile();

  private:
    void send(const std::string& command);

    std::string m_File;
};

// The program-wide sound player, created on first use and kept until the process ends.
cAV& oAV();
