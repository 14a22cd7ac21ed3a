create or replace package pkg_payroll is
  -- Monthly payroll run for the demo schema.
  procedure run_month(p_month in date);
  function net_salary(p_empno in emp.empno%type) return number;
end pkg_payroll;
/
create or replace package body pkg_payroll is

  c_tax_rate constant number := 0.30;

  function net_salary(p_empno in emp.empno%type) return number is
    l_gross emp.sal%type;
  begin
    select sal + nvl(comm, 0) into l_gross from emp where empno = p_empno;
    return round(l_gross * (1 - c_tax_rate), 2);
  end net_salary;

  procedure run_month(p_month in date) is
  begin
    for r in (select empno from emp) loop
      insert into payslips (empno, month, net)
      values (r.empno, trunc(p_month, 'MM'), net_salary(r.empno));
    end loop;
    commit;
  end run_month;

end pkg_payroll;
/
