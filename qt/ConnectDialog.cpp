#include "ConnectDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Layout.h"
#include "UserAction.h"
#include "WindowWaiting.h"
#include "platform/Convert.h"
#include "platform/RuntimeError.h"
#include "tools/RouteServiceCheck.h"

namespace tarvine::qt {
namespace {

// Wide enough for a server address and the help lines beside it.
constexpr int kBoxWidth = 420;

QLabel* helpLine(const QString& text, QWidget* parent) {
  auto* line = new QLabel(text, parent);
  line->setWordWrap(true);
  line->setForegroundRole(QPalette::PlaceholderText);
  return line;
}

}  // namespace

ConnectDialog::ConnectDialog(QWidget* parent, const std::optional<ConnectionProfile>& current)
    : QDialog(parent), saved_(savedProfiles()) {
  setObjectName(QString::fromLatin1(kConnectDialogName));
  setWindowTitle(tr("Connect to a route service"));
  auto* column = new QVBoxLayout(this);
  form_ = new QFormLayout;
  column->addLayout(form_);

  profileBox_ = new QComboBox(this);
  profileBox_->setObjectName(QStringLiteral("profileBox"));
  profileBox_->setEditable(true);
  profileBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const ConnectionProfile& profile : saved_) profileBox_->addItem(toQString(profile.name));
  auto* remove = new QPushButton(tr("&Remove"), this);
  remove->setObjectName(QStringLiteral("removeProfile"));
  remove->setAutoDefault(false);
  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(profileBox_, 1);
  profileRow->addWidget(remove);
  auto* profileLabel = new QLabel(tr("&Profile:"), this);
  profileLabel->setBuddy(profileBox_);
  form_->addRow(profileLabel, profileRow);
  form_->addRow(QString(), helpLine(tr("A name for these settings, such as your site or shift. "
                                       "The profile used last is offered first next time."),
                                    this));

  serverBox_ = addBox("serverBox", tr("Route &service:"),
                      tr("The back office's address for loads, such as "
                         "http://backoffice:8080. Your administrator knows it."));
  facilityBox_ = addBox("facilityBox", tr("&Facility:"),
                        tr("Your site's id in the back office, such as DEMO. Loads show the "
                           "P.O.s of this facility."));
  personIdBox_ = addBox("personIdBox", tr("Person &id:"),
                        tr("Your own number in the back office. It is written into the "
                           "history of every P.O. you put on a load or take off."));
  personTypeBox_ = addBox("personTypeBox", tr("Person &type:"),
                          tr("Which kind of person your number belongs to, as the back office "
                             "counts them (such as 2). It is written with your person id."));

  auto* test = new QPushButton(tr("&Test connection"), this);
  test->setObjectName(QStringLiteral("testConnection"));
  test->setAutoDefault(false);
  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("testResult"));
  result_->setWordWrap(true);
  result_->setMinimumWidth(kBoxWidth);
  // Room for the longest verdict from the start, so that one never squeezes the form.
  result_->setMinimumHeight(result_->fontMetrics().lineSpacing() * 4);
  result_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* testRow = new QHBoxLayout;
  testRow->addWidget(test, 0, Qt::AlignTop);
  testRow->addWidget(result_, 1);
  column->addLayout(testRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  auto* connectButton = buttons->addButton(tr("&Connect"), QDialogButtonBox::AcceptRole);
  connectButton->setObjectName(QStringLiteral("connect"));
  connectButton->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
  column->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &ConnectDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ConnectDialog::reject);
  connect(test, &QPushButton::clicked, this, [this] { testConnection(); });
  connect(remove, &QPushButton::clicked, this, [this] { removeShown(); });
  connect(profileBox_, &QComboBox::activated, this, [this](int index) { showSaved(index); });

  if (current) {
    fill(*current);
  } else if (!saved_.empty()) {
    showSaved(0);
  }
  (serverBox_->text().isEmpty() ? serverBox_ : static_cast<QWidget*>(profileBox_))->setFocus();
}

QLineEdit* ConnectDialog::addBox(const char* name, const QString& label, const QString& help) {
  auto* box = new QLineEdit(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setMinimumWidth(kBoxWidth);
  form_->addRow(label, box);
  form_->addRow(QString(), helpLine(help, this));
  return box;
}

void ConnectDialog::showSaved(int index) {
  if (index >= 0 && index < static_cast<int>(saved_.size())) {
    fill(saved_[static_cast<std::size_t>(index)]);
  }
}

void ConnectDialog::removeShown() {
  const std::string name = fromQString(profileBox_->currentText());
  removeProfile(name);
  std::erase_if(saved_, [&name](const ConnectionProfile& p) { return p.name == name; });
  const int index = profileBox_->findText(toQString(name), Qt::MatchExactly);
  if (index >= 0) profileBox_->removeItem(index);
  tell(tr("Profile \"%1\" removed.").arg(toQString(name)), true);
}

void ConnectDialog::fill(const ConnectionProfile& profile) {
  profileBox_->setEditText(toQString(profile.name));
  serverBox_->setText(toQString(profile.server));
  facilityBox_->setText(toQString(profile.facility));
  personIdBox_->setText(toQString(profile.personId));
  personTypeBox_->setText(toQString(profile.personType));
  result_->clear();
}

ConnectionProfile ConnectDialog::profile() const {
  ConnectionProfile profile{
      fromQString(profileBox_->currentText().trimmed()), fromQString(serverBox_->text().trimmed()),
      fromQString(facilityBox_->text().trimmed()), fromQString(personIdBox_->text().trimmed()),
      fromQString(personTypeBox_->text().trimmed())};
  if (profile.name.empty()) profile.name = profile.server;
  return profile;
}

QString ConnectDialog::result() const {
  return result_->text();
}

void ConnectDialog::testConnection() {
  const std::string server = profile().server;
  tools::ServiceCheck check;
  {
    const BusyCursor busy;
    WindowWaiting waiting(this);
    const ScopedWaiting scope(waiting);
    check = tools::checkRouteService(server);
  }
  tell(toQString(check.message), check.verdict == tools::ServiceVerdict::Ready);
}

QLineEdit* ConnectDialog::unusableBox() {
  const ConnectionProfile entered = profile();
  if (const std::string problem = tools::addressProblem(entered.server); !problem.empty()) {
    tell(toQString(problem), false);
    return serverBox_;
  }
  if (entered.facility.empty()) {
    tell(tr("Give the facility, such as DEMO."), false);
    return facilityBox_;
  }
  for (QLineEdit* box : {personIdBox_, personTypeBox_}) {
    try {
      convert::toInt16(fromQString(box->text().trimmed()));
    } catch (const RuntimeError&) {
      tell(tr("The person id and the person type are whole numbers from -32768 to 32767."), false);
      return box;
    }
  }
  return nullptr;
}

void ConnectDialog::accept() {
  if (QLineEdit* box = unusableBox()) {
    box->setFocus();
    box->selectAll();
    return;
  }
  saveProfile(profile());
  QDialog::accept();
}

void ConnectDialog::tell(const QString& text, bool good) {
  result_->setText(text);
  result_->setStyleSheet(good ? QStringLiteral("color: #1a7f37;")
                              : QStringLiteral("color: #b00020;"));
}

}  // namespace tarvine::qt
