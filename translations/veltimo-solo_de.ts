<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>vsolo::CEditLevelsView</name>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy to New Project</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CMainFrame</name>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use file on Local Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit Levels/Targets...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Preferences...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Time Sheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start from &amp;Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;hrink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Display All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto stop/start when selecting &amp;new level 1 and 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-&amp;shrink window when tracking time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;More Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Ti&amp;me Sheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ti&amp;p of the Day...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help on this window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Training Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Veltimo Solo...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Main Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comma Separated (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tab Delimited (.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit transaction...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete A&amp;ll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D&amp;ate Range...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drag and Drop (Hold Ctrl Key)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag and Drop &amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sort List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Veltimo Solo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Veltimo Solo&lt;/b&gt; %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A personal time tracker.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for &amp;Updates on the Web</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferences</name>
    <message>
        <source>File Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titles &amp;&amp; Work Habits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote Options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage1</name>
    <message>
        <source>File name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time sheet:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage2</name>
    <message>
        <source>L&amp;evel 1 title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level 2 title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M&amp;y day starts at</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(hh:mm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-advise when sending time sheet for days that have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;less than</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;or more than</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. (hh:mm)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage4</name>
    <message>
        <source>Auto-&amp;shrink window when tracking time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto stop/start when selecting &amp;new level 1 and 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-save &amp;time sheet when closing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-load &amp;time sheet on application startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask &amp;what to do after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>minutes without keyboard or mouse input</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CPreferencesPage5</name>
    <message>
        <source>Send time sheet by e-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check e-mail for assignment updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile Logon:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To Address:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::CTrackWindowView</name>
    <message>
        <source>Project Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activity Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From 10:00 to 11:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DETAIL</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::TransactionDialog</name>
    <message>
        <source>&amp;Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Total:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Des&amp;criptions:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ClientsManager</name>
    <message>
        <source>A&amp;pply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ExpenseDialog</name>
    <message>
        <source>&amp;Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D&amp;escription:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::ExpensesManager</name>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::PreferencesDialog</name>
    <message>
        <source>&amp;Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invoice:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ompany:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Street:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State/&amp;Province:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Zip/Postal Code:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ta&amp;x:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sold &amp;To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ter&amp;ms:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terminology</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;lient Term:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Expense Term:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rate Term:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::RateDialog</name>
    <message>
        <source>&amp;Code:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vsolo::reporting::RatesManager</name>
    <message>
        <source>Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
