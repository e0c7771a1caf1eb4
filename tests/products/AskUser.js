// The test products' question to the user: a user message (what a launcher's message handler sees
// when a package asks something), answered Yes or No. The answer goes into QUENLIS_USER_ANSWER, which
// the product registers, so that a test can tell which button reached the package.
function AskUser() {
    var INSTALLMESSAGE_USER = 0x03000000, MB_YESNO = 0x04, MB_ICONQUESTION = 0x20, IDCANCEL = 2;
    var question = Session.Installer.CreateRecord(0);
    question.StringData(0) = Session.Property("ProductName") + ": go on with the installation?";
    var answer = Session.Message(INSTALLMESSAGE_USER | MB_YESNO | MB_ICONQUESTION, question);
    Session.Property("QUENLIS_USER_ANSWER") = String(answer);
    // A script action's 2 is the user's exit, as Cancel asks; 1 goes on.
    return answer == IDCANCEL ? 2 : 1;
}
