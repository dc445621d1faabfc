#include "desktop/cAV.h"

#include "platform/media/mci.h"

void cAV::OpenMCIAudioFile(const std::string& sAFile) {
    m_File = "\"" + sAFile + "\"";
    send("OPEN " + m_File);
}

void cAV::PlayMCIAudioFile(bool bFromBegining) {
    if (bFromBegining) {
        send("PLAY " + m_File + " from 0");
    } else {
        send("PLAY " + m_File);
    }
}

void cAV::StopMCIAudioFile() {
    send("STOP " + m_File);
}

void cAV::CloseMCIAudioFile() {
    send("CLOSE " + m_File);
}

void cAV::send(const std::string& command) {
    std::string returnBuffer = "0";
    win::mciSendStringA(command, returnBuffer, 0, 0);
}

cAV& oAV() {
    static cAV player;
    return player;
}
